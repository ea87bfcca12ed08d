// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/RadioLink.h"

#include <algorithm>
#include <cstdio>

#include "core/Catalogue.h"
#include "image/Image.h"
#include "image/Stamp.h"
#include "link/IdentBlock.h"
#include "link/PortNames.h"
#include "settings/MsgBox.h"

const LinkJob kReadJob = {
    .blockCount = 27,
    .progressMax = 27,
    .requestCommand = kReadCommand,
    .requestCarriesData = false,
    .requestReplyLength = kDataReplyLength,
    .drainPollMs = 20,
    .drainPollLimit = 51,
    .resetCountAfterDrain = false,
    .stampsImage = false,
    .lineErrorShowsAtOnce = false,
};

const LinkJob kWriteJob = {
    .blockCount = static_cast<int>(kWriteBlocks),
    .progressMax = 24,
    .requestCommand = kWriteCommand,
    .requestCarriesData = true,
    .requestReplyLength = 1,
    .drainPollMs = 50,
    .drainPollLimit = 101,
    .resetCountAfterDrain = true,
    .stampsImage = true,
    .lineErrorShowsAtOnce = true,
};

const LinkWindowPolicy kReadWindow = {
    .reopenOnShow = true,
    .timeoutEnablesOk = false,
    .staysOpenAfterSuccess = false,
};

const LinkWindowPolicy kWriteWindow = {
    .reopenOnShow = false,
    .timeoutEnablesOk = true,
    .staysOpenAfterSuccess = true,
};

namespace {
// The text that reports each failure.
struct FailureText {
    LinkFailure failure;
    std::string TLanguage::*message;
    bool line; // the connection doctor may find the cause
};
constexpr FailureText kFailureTexts[] = {
    {LinkFailure::PortNotOpened, &TLanguage::PortError, true}, {LinkFailure::PortInUse, &TLanguage::PortInUse, false},
    {LinkFailure::PortFailed, &TLanguage::PortError, true},    {LinkFailure::NoAnswer, &TLanguage::ComError, true},
    {LinkFailure::WrongTag, &TLanguage::ComError, true},       {LinkFailure::WrongModel, &TLanguage::ModError, false},
    {LinkFailure::Refused, &TLanguage::ComError, true},        {LinkFailure::LineLost, &TLanguage::ComError, true},
};

const FailureText* TextOf(LinkFailure failure)
{
    for (const FailureText& row : kFailureTexts)
        if (row.failure == failure)
            return &row;
    return nullptr;
}
} // namespace

std::string TLanguage::*OutcomeMessage(const LinkOutcome& outcome)
{
    switch (outcome.result) {
    case LinkResult::Succeeded:
        return outcome.write ? &TLanguage::WriteOk : &TLanguage::ReadOk;
    case LinkResult::Failed:
        if (const FailureText* row = TextOf(outcome.failure))
            return row->message;
        return nullptr;
    case LinkResult::Cancelled:
        break;
    }
    return nullptr;
}

bool LineFailure(LinkFailure failure)
{
    const FailureText* row = TextOf(failure);
    return row && row->line;
}

std::string MessageText(const LinkOutcome& outcome)
{
    std::string TLanguage::*message = OutcomeMessage(outcome);
    return message ? Language.*message : std::string();
}

void ShowOutcome(const LinkOutcome& outcome)
{
    if (std::string TLanguage::*message = OutcomeMessage(outcome))
        MsgBox(Language.Confirmation, Language.*message, kMsgInformation);
}

TRadioLink::TRadioLink(const LinkJob& job, const LinkWindowPolicy& policy, TSerialPort& port, TLinkClock& clock,
                       TLinkView& view)
    : job_(job), policy_(policy), port_(port), clock_(clock), view_(view), previousListener_(port.Listener())
{
    port_.SetListener(this);
}

TRadioLink::~TRadioLink()
{
    if (port_.Listener() == this)
        port_.SetListener(previousListener_);
}

bool TRadioLink::Open(const std::string& portName, const LinkSettings& settings)
{
    settings_ = settings;
    readSucceeded_ = false;
    step_ = LinkStep::Idle;
    SetProgress(0);
    if (policy_.reopenOnShow)
        port_.Close();
    clock_.Wait(kWaitBeforeOpen);
    std::optional<int> number = PortNumberOf(portName);
    portNumber_ = number.value_or(0);
    if (policy_.reopenOnShow) {
        port_.FlushInput();
        port_.FlushOutput();
    }
    if (number && port_.Open(portNumber_, settings_.baudRate))
        return true;
    // A port that does not open ends the window's work as a failed
    // operation would.
    running_ = true;
    FailAndClose(port_.OpenFailedInUse() ? LinkFailure::PortInUse : LinkFailure::PortNotOpened);
    return false;
}

void TRadioLink::AttachOpenPort(const std::string& portName, const LinkSettings& settings)
{
    settings_ = settings;
    readSucceeded_ = false;
    step_ = LinkStep::Idle;
    portNumber_ = PortNumberOf(portName).value_or(0);
}

void TRadioLink::Start()
{
    Cancel();
    view_.ClearLog();
    Begin();
}

void TRadioLink::Start(std::span<const uint8_t> image, const std::string& modelCode, uint8_t bandCode)
{
    Cancel();
    view_.ClearLog();
    std::copy_n(image.begin(), std::min(image.size(), image_.size()), image_.begin());
    if (job_.stampsImage)
        WriteModelBlock(image_, modelCode, bandCode);
    Begin();
}

void TRadioLink::Begin()
{
    readSucceeded_ = false;
    step_ = LinkStep::Idle;
    running_ = true;
    failedSinceStart_ = false;
    lineErrorPending_ = false;
    refusedBlock_ = -1;
    SetProgress(0);
    EnableOk(false);
    clock_.Wait(kWaitBeforeStart);
    bool ok = port_.FlushInput() && port_.FlushOutput();
    if (ok) {
        clock_.Wait(kWaitAfterFlush);
        ok = Send(kWakeUpFrame, 1, BlockPhase::AwaitData);
    }
    if (!ok) {
        Fail(LinkFailure::PortFailed);
        return;
    }
    Arm(LinkTimer::xTimer);
}

void TRadioLink::Cancel()
{
    if (!running_)
        return;
    StopTimers();
    step_ = LinkStep::Idle;
    End(LinkResult::Cancelled);
}

void TRadioLink::Close()
{
    Cancel();
    StopTimers();
    step_ = LinkStep::Idle;
    port_.Close();
}

void TRadioLink::StopTimers()
{
    for (TLinkTimer& timer : timers_)
        timer.Stop();
}

void TRadioLink::Arm(LinkTimer timer)
{
    timers_[static_cast<size_t>(timer)] = clock_.Start(IntervalOf(timer), [this, timer] { TimerFired(timer); });
}

bool TRadioLink::Send(const uint8_t* bytes, size_t count, int expectedReply, BlockPhase phase)
{
    std::string line = "Tx- ";
    for (size_t i = 0; i < count; ++i) {
        line += ' ';
        AppendHex(line, bytes[i]);
    }
    view_.LogLine(line);
    clock_.Wait(kWaitBeforeFrame);
    auto expect = [&] {
        expected_ = static_cast<size_t>(expectedReply);
        phase_ = phase;
        received_ = 0;
    };
    if (!job_.resetCountAfterDrain)
        expect();
    bool written = port_.Write(bytes, count);
    // Give the frame time to leave, but never wait for a queue that does
    // not drain.
    for (int polls = 0; polls < job_.drainPollLimit && port_.TransmitQueueCount() > 0; ++polls)
        clock_.Wait(job_.drainPollMs);
    if (job_.resetCountAfterDrain)
        expect();
    return written;
}

void TRadioLink::SendEnd()
{
    const std::array<uint8_t, 1> end = {kEndFrame};
    Send(end, 0);
}

void TRadioLink::SendAck()
{
    const std::array<uint8_t, 1> ack = {kAck};
    Send(ack, 1, BlockPhase::AwaitAck);
    Arm(LinkTimer::TryTime);
}

void TRadioLink::SendBlockRequest()
{
    std::array<uint8_t, kWriteRequestLength> frame{};
    auto header = BlockRequestHeader(job_.requestCommand, blockIndex_);
    std::copy(header.begin(), header.end(), frame.begin());
    size_t length = header.size();
    if (job_.requestCarriesData) {
        const uint8_t* block = image_.data() + static_cast<size_t>(blockIndex_) * kBlockSize;
        std::copy(block, block + kBlockSize, frame.begin() + static_cast<std::ptrdiff_t>(length));
        if (static_cast<size_t>(blockIndex_) < kWriteBlocks)
            std::copy(block, block + kBlockSize, sent_.begin() + static_cast<std::ptrdiff_t>(blockIndex_) * kBlockSize);
        length += kBlockSize;
    }
    BlockPhase next = job_.requestCarriesData ? BlockPhase::AwaitAck : BlockPhase::AwaitData;
    Send(frame.data(), length, job_.requestReplyLength, next);
    Arm(LinkTimer::TryTime);
    if (job_.requestCarriesData)
        SetProgress(progress_ + 1);
}

void TRadioLink::myPortTrigger(size_t n)
{
    std::string text;
    for (size_t i = 0; i < n && port_.ByteReady(); ++i) {
        uint8_t b = port_.ReadByte();
        // Bytes beyond the buffer are dropped; the reply then counts as
        // too long and is not evaluated.
        if (received_ < kReceiveBufferSize) {
            receive_[received_++] = b;
            AppendHex(text, b);
            text += ' ';
        }
    }
    view_.LogLine("Rx- " + text);
    if (received_ >= expected_ && received_ < kReceiveBufferSize && step_ != LinkStep::Idle)
        StepHandler();
}

void TRadioLink::StepHandler()
{
    switch (step_) {
    case LinkStep::Idle:
        break;
    case LinkStep::AwaitProgramAck: {
        step_ = LinkStep::Idle;
        // Byte 1 counts only when this reply reached it: the buffer keeps
        // bytes of earlier replies, and a stale 06 is no acknowledge.
        bool acked = receive_[0] == kAck || (received_ >= 2 && receive_[1] == kAck);
        if (!acked)
            break; // HeadTime runs out
        Disarm(LinkTimer::HeadTime);
        clock_.Wait(kWaitBeforeIdentify);
        step_ = LinkStep::AwaitIdent;
        const std::array<uint8_t, 1> identify = {kIdentifyRequest};
        Send(identify, kIdentReplyLength);
        Arm(LinkTimer::HeadTime);
        break;
    }
    case LinkStep::AwaitIdent:
        OnIdentReply();
        break;
    case LinkStep::AwaitAuth:
        OnAuthReply();
        break;
    case LinkStep::Blocks:
        OnBlockReply();
        break;
    }
}

void TRadioLink::OnIdentReply()
{
    Disarm(LinkTimer::HeadTime);
    step_ = LinkStep::Idle;
    std::string model(reinterpret_cast<const char*>(&receive_[kIdentModelCodeAt]), kIdentModelCodeLength);
    bool known = MacList.ChannelsOf(model) != 0;
    if (receive_[kIdentTagAt] != ExchangedTag(tagByte_)) {
        SendEnd();
        FailAndClose(LinkFailure::WrongTag);
        return;
    }
    if (!known) {
        SendEnd();
        FailAndClose(LinkFailure::WrongModel);
        return;
    }
    receivedModel_ = model;
    step_ = LinkStep::AwaitAuth;
    IdentBlock block{};
    tagByte_ = BuildIdentBlock(settings_.identString, block);
    Send(block, 1);
    Arm(LinkTimer::HeadTime);
}

void TRadioLink::OnAuthReply()
{
    step_ = LinkStep::Idle;
    Disarm(LinkTimer::HeadTime);
    if (receive_[0] != tagByte_) {
        SendEnd();
        FailAndClose(LinkFailure::WrongTag);
        return;
    }
    if (job_.stampsImage)
        EncodeStamp(image_, kWriteStamp, NowStampText());
    step_ = LinkStep::Blocks;
    blockIndex_ = -1;
    SendAck();
}

void TRadioLink::OnBlockReply()
{
    if (phase_ == BlockPhase::AwaitData) {
        Disarm(LinkTimer::TryTime);
        // A data reply is awaited only after a request for a block in range;
        // the check keeps a confused state from writing outside the buffer.
        if (blockIndex_ < 0 || static_cast<size_t>(blockIndex_) >= readBuffer_.size() / kBlockSize)
            return;
        std::copy_n(receive_.begin() + kDataReplyBlockAt, kBlockSize,
                    readBuffer_.begin() + static_cast<std::ptrdiff_t>(blockIndex_) * kBlockSize);
        SetProgress(progress_ + 1);
        SendAck();
        return;
    }
    if (receive_[0] != kAck) {
        // The radio refused the block: the write ends when TryTime runs
        // out, as it always has, and the outcome says which block it was.
        if (job_.requestCarriesData && blockIndex_ >= 0 && refusedBlock_ < 0) {
            refusedBlock_ = blockIndex_;
            refusedReply_ = receive_[0];
        }
        return;
    }
    Disarm(LinkTimer::TryTime);
    ++blockIndex_;
    if (blockIndex_ < job_.blockCount)
        SendBlockRequest();
    else
        Finish();
}

void TRadioLink::Finish()
{
    step_ = LinkStep::Idle;
    SendEnd();
    SetProgress(job_.progressMax);
    if (!job_.requestCarriesData)
        readSucceeded_ = true;
    End(LinkResult::Succeeded);
    if (policy_.staysOpenAfterSuccess) {
        SetProgress(0);
        Arm(LinkTimer::cxBack);
        return;
    }
    Arm(LinkTimer::CloseTime);
}

void TRadioLink::myPortTriggerLineError()
{
    // Between operations a line error still tells the user that the device
    // went away (the write window shows it, the read window reports it and
    // closes), as a failure of its own, unless the last operation already
    // failed and said so.
    if (!running_) {
        if (failedSinceStart_)
            return;
        running_ = true;
    }
    if (job_.lineErrorShowsAtOnce) {
        step_ = LinkStep::Idle;
        Fail(LinkFailure::LineLost);
        return;
    }
    port_.FlushInput();
    port_.FlushOutput();
    step_ = LinkStep::Idle;
    // The exchange is over: the block time-out alone reports it, 1500 ms
    // after the first error. A device that keeps reporting errors must not
    // keep pushing the message away.
    Disarm(LinkTimer::HeadTime);
    if (!lineErrorPending_) {
        lineErrorPending_ = true;
        Arm(LinkTimer::TryTime);
    }
}

void TRadioLink::TimerFired(LinkTimer timer)
{
    switch (timer) {
    case LinkTimer::xTimer: {
        // An error already ended this operation (a line error while the
        // radio was waking up): nothing more is sent.
        if (!running_)
            return;
        std::uniform_int_distribution<int> draw(0, 4);
        tagByte_ = LinkTag(portNumber_, draw(random_));
        step_ = LinkStep::AwaitProgramAck;
        Send(ProgramRequest(tagByte_), 1);
        Arm(LinkTimer::HeadTime);
        break;
    }
    case LinkTimer::HeadTime:
    case LinkTimer::TryTime:
        OnTimeout(timer);
        break;
    case LinkTimer::CloseTime:
        view_.CloseWindow();
        break;
    case LinkTimer::cxBack:
        EnableOk(true);
        break;
    }
}

void TRadioLink::OnTimeout(LinkTimer timer)
{
    step_ = LinkStep::Idle;
    if (!running_)
        return;
    if (timer == LinkTimer::HeadTime)
        clock_.Wait(kWaitBeforeHandshakeError);
    else if (policy_.timeoutEnablesOk)
        EnableOk(true);
    // A block time-out after a line error, or after the radio refused a
    // block, reports what went before it.
    if (timer == LinkTimer::TryTime && lineErrorPending_)
        FailAndClose(LinkFailure::LineLost);
    else if (timer == LinkTimer::TryTime && refusedBlock_ >= 0)
        FailAndClose(LinkFailure::Refused);
    else
        FailAndClose(LinkFailure::NoAnswer);
}

void TRadioLink::End(LinkResult result, LinkFailure failure)
{
    if (!running_)
        return;
    running_ = false;
    failedSinceStart_ = failedSinceStart_ || result == LinkResult::Failed;
    LinkOutcome outcome;
    outcome.result = result;
    outcome.failure = failure;
    outcome.write = job_.requestCarriesData;
    if (result == LinkResult::Failed) {
        outcome.refusedBlock = refusedBlock_;
        outcome.refusedReply = refusedReply_;
    }
    if (job_.requestCarriesData)
        outcome.bytes.assign(image_.begin(), image_.begin() + static_cast<std::ptrdiff_t>(sent_.size()));
    else if (result == LinkResult::Succeeded)
        outcome.bytes.assign(readBuffer_.begin(),
                             readBuffer_.begin() + static_cast<std::ptrdiff_t>(kReadBlocks * kBlockSize));
    view_.Finished(outcome);
}

void TRadioLink::FailAndClose(LinkFailure failure)
{
    Fail(failure);
    Arm(LinkTimer::CloseTime);
}

void TRadioLink::SetProgress(int value)
{
    progress_ = value;
    view_.ShowProgress(std::min(progress_, job_.progressMax), job_.progressMax);
}

void TRadioLink::EnableOk(bool enabled)
{
    okEnabled_ = enabled;
    view_.EnableOk(enabled);
}
