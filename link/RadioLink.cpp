// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/RadioLink.h"

#include <algorithm>
#include <cstdio>

#include "core/Catalogue.h"
#include "core/State.h"
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
    .reopenOnShow = true,
    .stampsImage = false,
    .lineErrorShowsAtOnce = false,
    .timeoutEnablesOk = false,
    .staysOpenAfterSuccess = false,
    .successMessage = &TLanguage::ReadOk,
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
    .reopenOnShow = false,
    .stampsImage = true,
    .lineErrorShowsAtOnce = true,
    .timeoutEnablesOk = true,
    .staysOpenAfterSuccess = true,
    .successMessage = &TLanguage::WriteOk,
};

std::string MessageText(const LinkOutcome& outcome)
{
    return outcome.message ? Language.*outcome.message : std::string();
}

void ShowOutcome(const LinkOutcome& outcome)
{
    if (outcome.message)
        MsgBox(Language.Confirmation, Language.*outcome.message, kMsgInformation);
}

TRadioLink::TRadioLink(const LinkJob& job, TSerialPort& port, TLinkClock& clock, TLinkView& view)
    : job_(job), port_(port), clock_(clock), view_(view)
{
    port_.SetListener(this);
    clock_.SetListener(this);
}

TRadioLink::~TRadioLink()
{
    if (port_.Listener() == this)
        port_.SetListener(nullptr);
    if (clock_.Listener() == this)
        clock_.SetListener(nullptr);
}

bool TRadioLink::Open()
{
    return Open(ALL.ComPort);
}

bool TRadioLink::Open(const std::string& portName)
{
    readSucceeded_ = false;
    step_ = LinkStep::Idle;
    SetProgress(0);
    if (job_.reopenOnShow)
        port_.Close();
    clock_.Wait(kWaitBeforeOpen);
    std::optional<int> number = PortNumberOf(portName);
    portNumber_ = number.value_or(0);
    if (job_.reopenOnShow) {
        port_.FlushInput();
        port_.FlushOutput();
    }
    if (number && port_.Open(portNumber_, ALL.BaudRate))
        return true;
    // A port that does not open ends the window's work as a failed
    // operation would.
    running_ = true;
    FailAndClose(port_.OpenFailedInUse() ? &TLanguage::PortInUse : &TLanguage::PortError);
    return false;
}

void TRadioLink::AttachOpenPort(const std::string& portName)
{
    readSucceeded_ = false;
    step_ = LinkStep::Idle;
    portNumber_ = PortNumberOf(portName).value_or(0);
}

void TRadioLink::Start()
{
    Cancel();
    view_.ClearLog();
    readSucceeded_ = false;
    if (job_.stampsImage)
        WriteModelBlock();
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
        Fail(&TLanguage::PortError);
        return;
    }
    clock_.Start(LinkTimer::xTimer, IntervalOf(LinkTimer::xTimer));
}

void TRadioLink::Cancel()
{
    if (!running_)
        return;
    StopTimers();
    step_ = LinkStep::Idle;
    End(LinkResult::Cancelled, nullptr);
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
    // The fleet's timer is not the engine's to stop.
    for (size_t t = 0; t < kLinkTimerCount; ++t)
        if (static_cast<LinkTimer>(t) != LinkTimer::FleetRetry)
            clock_.Stop(static_cast<LinkTimer>(t));
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
    clock_.Start(LinkTimer::TryTime, IntervalOf(LinkTimer::TryTime));
}

void TRadioLink::SendBlockRequest()
{
    std::array<uint8_t, kWriteRequestLength> frame{};
    auto header = BlockRequestHeader(job_.requestCommand, blockIndex_);
    std::copy(header.begin(), header.end(), frame.begin());
    size_t length = header.size();
    if (job_.requestCarriesData) {
        const uint8_t* block = ALL.Image.data() + static_cast<size_t>(blockIndex_) * kBlockSize;
        std::copy(block, block + kBlockSize, frame.begin() + static_cast<std::ptrdiff_t>(length));
        if (static_cast<size_t>(blockIndex_) < kWriteBlocks)
            std::copy(block, block + kBlockSize, sent_.begin() + static_cast<std::ptrdiff_t>(blockIndex_) * kBlockSize);
        length += kBlockSize;
    }
    BlockPhase next = job_.requestCarriesData ? BlockPhase::AwaitAck : BlockPhase::AwaitData;
    Send(frame.data(), length, job_.requestReplyLength, next);
    clock_.Start(LinkTimer::TryTime, IntervalOf(LinkTimer::TryTime));
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
        clock_.Stop(LinkTimer::HeadTime);
        clock_.Wait(kWaitBeforeIdentify);
        step_ = LinkStep::AwaitIdent;
        const std::array<uint8_t, 1> identify = {kIdentifyRequest};
        Send(identify, kIdentReplyLength);
        clock_.Start(LinkTimer::HeadTime, IntervalOf(LinkTimer::HeadTime));
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
    clock_.Stop(LinkTimer::HeadTime);
    step_ = LinkStep::Idle;
    std::string model(reinterpret_cast<const char*>(&receive_[kIdentModelCodeAt]), kIdentModelCodeLength);
    bool known = MacList.ChannelsOf(model) != 0;
    if (receive_[kIdentTagAt] != ExchangedTag(tagByte_)) {
        SendEnd();
        FailAndClose(&TLanguage::ComError);
        return;
    }
    if (!known) {
        SendEnd();
        FailAndClose(&TLanguage::ModError);
        return;
    }
    receivedModel_ = model;
    step_ = LinkStep::AwaitAuth;
    IdentBlock block{};
    tagByte_ = BuildIdentBlock(ALL.IdentString, block);
    Send(block, 1);
    clock_.Start(LinkTimer::HeadTime, IntervalOf(LinkTimer::HeadTime));
}

void TRadioLink::OnAuthReply()
{
    step_ = LinkStep::Idle;
    clock_.Stop(LinkTimer::HeadTime);
    if (receive_[0] != tagByte_) {
        SendEnd();
        FailAndClose(&TLanguage::ComError);
        return;
    }
    if (job_.stampsImage)
        EncodeStamp(kWriteStamp, NowStampText());
    step_ = LinkStep::Blocks;
    blockIndex_ = -1;
    SendAck();
}

void TRadioLink::OnBlockReply()
{
    if (phase_ == BlockPhase::AwaitData) {
        clock_.Stop(LinkTimer::TryTime);
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
    clock_.Stop(LinkTimer::TryTime);
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
    if (job_.staysOpenAfterSuccess) {
        End(LinkResult::Succeeded, job_.successMessage);
        SetProgress(0);
        clock_.Start(LinkTimer::cxBack, IntervalOf(LinkTimer::cxBack));
        return;
    }
    // Only a complete read changes the document, and it is in place before
    // the view hears of the success. Block 27 of the buffer is never
    // received, so 0x1B0..0x1BF become 00. A read into a buffer of its own
    // leaves the document alone.
    if (readTarget_) {
        std::copy_n(readBuffer_.begin(), kReadBlocks * kBlockSize, readTarget_->begin());
        readSucceeded_ = true;
        End(LinkResult::Succeeded, job_.successMessage);
        clock_.Start(LinkTimer::CloseTime, IntervalOf(LinkTimer::CloseTime));
        return;
    }
    std::copy_n(readBuffer_.begin(), kReadBlocks * kBlockSize, ALL.Image.begin());
    SelectModel(receivedModel_, ALL.Image[kBandCodeOffset], true);
    ALL.AreaCode.clear();
    NormaliseSettings();
    ALL.Modified = true;
    readSucceeded_ = true;
    End(LinkResult::Succeeded, job_.successMessage);
    clock_.Start(LinkTimer::CloseTime, IntervalOf(LinkTimer::CloseTime));
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
        Fail(&TLanguage::ComError);
        return;
    }
    port_.FlushInput();
    port_.FlushOutput();
    step_ = LinkStep::Idle;
    // The exchange is over: the block time-out alone reports it, 1500 ms
    // after the first error. A device that keeps reporting errors must not
    // keep pushing the message away.
    clock_.Stop(LinkTimer::HeadTime);
    if (!lineErrorPending_) {
        lineErrorPending_ = true;
        clock_.Start(LinkTimer::TryTime, IntervalOf(LinkTimer::TryTime));
    }
}

void TRadioLink::TimerFired(LinkTimer timer)
{
    clock_.Stop(timer);
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
        clock_.Start(LinkTimer::HeadTime, IntervalOf(LinkTimer::HeadTime));
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
    case LinkTimer::NextPhase:
    case LinkTimer::FleetRetry:
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
    else if (job_.timeoutEnablesOk)
        EnableOk(true);
    FailAndClose(&TLanguage::ComError);
}

void TRadioLink::End(LinkResult result, std::string TLanguage::*message)
{
    if (!running_)
        return;
    running_ = false;
    failedSinceStart_ = failedSinceStart_ || result == LinkResult::Failed;
    LinkOutcome outcome{result, message};
    if (result == LinkResult::Failed) {
        outcome.refusedBlock = refusedBlock_;
        outcome.refusedReply = refusedReply_;
    }
    view_.Finished(outcome);
}

void TRadioLink::FailAndClose(std::string TLanguage::*message)
{
    Fail(message);
    clock_.Start(LinkTimer::CloseTime, IntervalOf(LinkTimer::CloseTime));
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
