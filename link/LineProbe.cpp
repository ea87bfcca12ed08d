// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/LineProbe.h"

#include <algorithm>
#include <random>

#include "core/Catalogue.h"
#include "link/DoctorTexts.h"
#include "link/LinkFrames.h"

namespace {
constexpr int kProbeBaud = 4800;
}

std::string HexBytes(const std::vector<uint8_t>& bytes)
{
    std::string text;
    for (uint8_t b : bytes) {
        if (!text.empty())
            text += ' ';
        AppendHex(text, b);
    }
    return text;
}

ProbeOutcome InterpretReply(const std::vector<uint8_t>& sent, const std::vector<uint8_t>& received)
{
    ProbeOutcome o;
    o.received = received;
    // An echo repeats our bytes in order; the radio's answers come between
    // them. None of our bytes is an acknowledge.
    size_t next = 0;
    size_t echoed = 0;
    for (uint8_t b : received) {
        if (next < sent.size() && b == sent[next]) {
            ++next;
            ++echoed;
        } else {
            o.foreign.push_back(b);
        }
    }
    o.echoed = echoed > 0;
    if (received.empty())
        o.result = ProbeResult::Silent;
    else if (o.foreign.empty())
        o.result = ProbeResult::Echo;
    else if (std::all_of(o.foreign.begin(), o.foreign.end(), [](uint8_t b) { return b == kAck; }))
        o.result = ProbeResult::Ready;
    else
        o.result = ProbeResult::OtherBytes;
    return o;
}

void InterpretIdentReply(ProbeOutcome& outcome, uint8_t tag, const std::vector<uint8_t>& reply)
{
    outcome.identReply = reply;
    if (outcome.result != ProbeResult::Ready)
        return;
    // A read stops at this point too: an acknowledge alone is not a radio
    // that can be programmed.
    if (reply.size() < static_cast<size_t>(kIdentReplyLength)) {
        outcome.result = ProbeResult::NoIdent;
        return;
    }
    if (reply[kIdentTagAt] != ExchangedTag(tag)) {
        outcome.result = ProbeResult::WrongTag;
        return;
    }
    const std::string code(reply.begin() + kIdentModelCodeAt,
                           reply.begin() + kIdentModelCodeAt + kIdentModelCodeLength);
    if (MacList.ChannelsOf(code) == 0)
        outcome.result = ProbeResult::OtherModel;
}

Finding ProbeFinding(const ProbeOutcome& outcome, const std::string& portLabel)
{
    switch (outcome.result) {
    case ProbeResult::Ready:
        return {
            Severity::Ok, "line-ready", DoctorText(outcome.echoed ? "ProbeReadyEcho" : "ProbeReady", {portLabel}), {}};
    case ProbeResult::Silent:
        return {Severity::Problem, "line-silent", DoctorText("ProbeSilent", {portLabel}), DoctorText("ProbeSilentFix")};
    case ProbeResult::Echo:
        return {Severity::Problem, "line-echo", DoctorText("ProbeEcho", {portLabel}), DoctorText("ProbeEchoFix")};
    case ProbeResult::OtherBytes:
        return {Severity::Problem, "line-other", DoctorText("ProbeOther", {portLabel, HexBytes(outcome.received)}),
                DoctorText("ProbeOtherFix")};
    case ProbeResult::WrongTag:
        return {Severity::Problem, "line-wrong-tag", DoctorText("ProbeWrongTag", {portLabel}),
                DoctorText("ProbeWrongTagFix")};
    case ProbeResult::NoIdent:
        return {Severity::Problem, "line-no-ident", DoctorText("ProbeNoIdent", {portLabel}),
                DoctorText("ProbeNoIdentFix")};
    case ProbeResult::OtherModel: {
        std::string code;
        for (size_t i = 0; i < kIdentModelCodeLength; ++i) {
            const uint8_t b = outcome.identReply[kIdentModelCodeAt + i];
            code += b >= 0x20 && b < 0x7F ? static_cast<char>(b) : '?';
        }
        return {Severity::Problem, "line-other-model", DoctorText("ProbeOtherModel", {portLabel, code}),
                DoctorText("ProbeOtherModelFix")};
    }
    case ProbeResult::OpenFailed:
        break;
    }
    size_t open = portLabel.find(" (");
    std::string port = portLabel.substr(0, open);
    std::string device = open == std::string::npos ? portLabel
                                                   : portLabel.substr(open + 2, portLabel.size() - open - 3);
    return {Severity::Problem, "line-open", DoctorText("ProbeOpenFailed", {port, device}),
            DoctorText("ProbeOpenFailedFix")};
}

void AddProbeFinding(DoctorReport& report, const ProbeOutcome& outcome, const std::string& portLabel)
{
    if (outcome.result == ProbeResult::Ready) {
        static const std::string kAboutUsbDevices[] = {"no-cable", "no-tty", "device", "chip-refused"};
        for (Finding& f : report.findings) {
            if (std::find(std::begin(kAboutUsbDevices), std::end(kAboutUsbDevices), f.id) !=
                std::end(kAboutUsbDevices)) {
                f.severity = Severity::Ok;
                f.fix.clear();
            }
        }
    }
    report.findings.push_back(ProbeFinding(outcome, portLabel));
}

TLineProbe::TLineProbe(TSerialPort& port, TLinkClock& clock) : port_(port), clock_(clock)
{
    port_.SetListener(this);
}

TLineProbe::~TLineProbe()
{
    StopTimers();
    if (!done_)
        port_.Close();
    if (port_.Listener() == this)
        port_.SetListener(nullptr);
}

void TLineProbe::Arm(LinkTimer timer, int ms)
{
    timers_.at(static_cast<size_t>(timer)) = clock_.Start(ms, [this, timer] { TimerFired(timer); });
}

void TLineProbe::StopTimers()
{
    for (TLinkTimer& timer : timers_)
        timer.Stop();
}

void TLineProbe::Start(int portNumber, std::function<void(const ProbeOutcome&)> done)
{
    onDone_ = std::move(done);
    sent_.clear();
    received_.clear();
    requestSent_ = false;
    identSent_ = false;
    done_ = false;
    portNumber_ = portNumber;
    clock_.Wait(kWaitBeforeOpen);
    if (!port_.Open(portNumber, kProbeBaud)) {
        done_ = true;
        outcome_ = ProbeOutcome{ProbeResult::OpenFailed, {}, {}, false, {}};
        if (onDone_)
            onDone_(outcome_);
        return;
    }
    port_.FlushInput();
    port_.FlushOutput();
    clock_.Wait(kWaitAfterFlush);
    Send(kWakeUpFrame.data(), kWakeUpFrame.size());
    Arm(LinkTimer::xTimer, IntervalOf(LinkTimer::xTimer));
}

bool TLineProbe::Send(const uint8_t* bytes, size_t count)
{
    clock_.Wait(kWaitBeforeFrame);
    sent_.insert(sent_.end(), bytes, bytes + count);
    return port_.Write(bytes, count);
}

void TLineProbe::myPortTrigger(size_t n)
{
    for (size_t i = 0; i < n && port_.ByteReady(); ++i)
        received_.push_back(port_.ReadByte());
    if (done_ || !requestSent_)
        return;
    if (identSent_) {
        if (IdentReply().size() >= static_cast<size_t>(kIdentReplyLength))
            Finish();
        return;
    }
    // The answer to the request is in: listen a moment longer for what
    // follows it, then go on.
    if (std::find(received_.begin() + static_cast<std::ptrdiff_t>(heardBeforeRequest_), received_.end(), kAck) !=
        received_.end()) {
        timers_.at(static_cast<size_t>(LinkTimer::HeadTime)).Stop();
        Arm(LinkTimer::TryTime, kSettleMs);
    }
}

void TLineProbe::myPortTriggerLineError()
{
    if (!done_)
        Finish();
}

void TLineProbe::TimerFired(LinkTimer timer)
{
    if (done_)
        return;
    if (timer == LinkTimer::xTimer) {
        std::mt19937 random{std::random_device{}()};
        tag_ = LinkTag(portNumber_, std::uniform_int_distribution<int>(0, 4)(random));
        const auto request = ProgramRequest(tag_);
        Send(request.data(), request.size());
        requestSent_ = true;
        heardBeforeRequest_ = received_.size();
        Arm(LinkTimer::HeadTime, kAnswerTimeMs);
        return;
    }
    // The acknowledge has settled: a clean one earns the identify request.
    if (timer == LinkTimer::TryTime && !identSent_ && InterpretReply(sent_, received_).result == ProbeResult::Ready) {
        AskIdentification();
        return;
    }
    Finish();
}

void TLineProbe::AskIdentification()
{
    sentBeforeIdent_ = sent_.size();
    heardBeforeIdent_ = received_.size();
    identSent_ = true;
    echoes_ = InterpretReply(sent_, received_).echoed;
    const uint8_t identify = kIdentifyRequest;
    Send(&identify, 1);
    Arm(LinkTimer::HeadTime, kAnswerTimeMs);
}

std::vector<uint8_t> TLineProbe::IdentReply() const
{
    auto from = received_.begin() + static_cast<std::ptrdiff_t>(heardBeforeIdent_);
    // A cable that echoes gives back the request before the radio answers.
    if (echoes_ && from != received_.end() && *from == kIdentifyRequest)
        ++from;
    return {from, received_.end()};
}

void TLineProbe::Finish()
{
    StopTimers();
    done_ = true;
    // A radio that was asked for its identification now waits for the
    // identification block and would take the next program's first frames
    // for it: the end frame, as a read sends when it gives up there, sends
    // it back to idle at once.
    if (identSent_ && port_.IsOpen()) {
        const uint8_t end = kEndFrame;
        Send(&end, 1);
    }
    port_.Close();
    if (identSent_) {
        const std::vector<uint8_t> sentBefore(sent_.begin(),
                                              sent_.begin() + static_cast<std::ptrdiff_t>(sentBeforeIdent_));
        const std::vector<uint8_t> heardBefore(received_.begin(),
                                               received_.begin() + static_cast<std::ptrdiff_t>(heardBeforeIdent_));
        outcome_ = InterpretReply(sentBefore, heardBefore);
        InterpretIdentReply(outcome_, tag_, IdentReply());
    } else {
        outcome_ = InterpretReply(sent_, received_);
    }
    if (onDone_)
        onDone_(outcome_);
}
