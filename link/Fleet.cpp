// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Fleet.h"

#include <algorithm>
#include <cstdio>

#include "document/ContentsDiff.h"
#include "document/FleetTexts.h"
#include "document/RadioContents.h"
#include "document/SafeTexts.h"
#include "settings/Language.h"

namespace {
// How often a port looks for a radio, and for the radio it wrote.
constexpr int kRetryMs = 1500;

std::string SecondsText(double seconds)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", seconds);
    return buf;
}
} // namespace

TFleetPort::TFleetPort(TFleetRun& fleet, size_t index, std::string name, std::string device, TSerialPort& port,
                       TLinkClock& clock)
    : fleet_(fleet), index_(index), name_(std::move(name)), device_(std::move(device)), port_(port), clock_(clock),
      write_(port, clock, *this)
{
}

TFleetPort::~TFleetPort()
{
    probe_.reset();
    write_.Close();
}

std::string TFleetPort::StateText() const
{
    switch (state_) {
    case FleetState::Idle:
        return FleetText("StateIdle");
    case FleetState::Waiting:
        return FleetText("StateWaiting");
    case FleetState::BackingUp:
        return FleetText("StateBackingUp");
    case FleetState::Writing:
        return FleetText("StateWriting", {std::to_string(std::max(1, Block()))});
    case FleetState::Verifying:
        return FleetText("StateVerifying");
    case FleetState::Done:
        return FleetText("StateDone", {serial_, SecondsText(seconds_)});
    case FleetState::Failed:
        return FleetText("StateFailed", {message_});
    case FleetState::AlreadyDone:
        return FleetText("StateAlreadyDone", {serial_});
    }
    return "";
}

void TFleetPort::Set(FleetState state)
{
    state_ = state;
    fleet_.PortChanged(index_);
}

void TFleetPort::Begin()
{
    stopping_ = false;
    ended_ = false;
    serial_.clear();
    message_.clear();
    // Every port starts from the event loop, so their opening pauses
    // overlap instead of following one another.
    firstTry_ = true;
    Set(FleetState::Waiting);
    retry_ = clock_.Start(0, [this] { Retry(); });
}

void TFleetPort::OpenFirst()
{
    if (!OpenPort()) {
        // Reported at once; in hands-free mode the device may come later.
        message_ = port_.OpenFailedInUse() ? Language.PortInUse : Language.PortError;
        fleet_.PortNotOpened(index_);
        if (!fleet_.Options().watch) {
            Set(FleetState::Failed);
            End();
            return;
        }
        retry_ = clock_.Start(kRetryMs, [this] { Retry(); });
        return;
    }
    Try();
}

bool TFleetPort::OpenPort()
{
    opening_ = true;
    const bool opened = write_.Open(name_, fleet_.Options().link);
    opening_ = false;
    return opened;
}

// One attempt at a radio: the safe write, which finds out on the first
// frames of its handshake whether a radio answers.
void TFleetPort::Try()
{
    if (stopping_) {
        End();
        return;
    }
    if (!port_.IsOpen() && !OpenPort()) {
        Set(FleetState::Waiting);
        retry_ = clock_.Start(kRetryMs, [this] { Retry(); });
        return;
    }
    serial_.clear();
    message_.clear();
    started_ = std::time(nullptr);
    startedMs_ = fleet_.NowMs();
    if (state_ != FleetState::Waiting)
        Set(FleetState::Waiting);
    write_.Start(fleet_.Options().write, fleet_.Options().document);
}

void TFleetPort::ShowPhase(SafePhase phase)
{
    switch (phase) {
    case SafePhase::BackingUp:
        // Stays "waiting" until the radio answers with its first block.
        break;
    case SafePhase::Writing:
        Set(FleetState::Writing);
        break;
    case SafePhase::Verifying:
        Set(FleetState::Verifying);
        break;
    default:
        break;
    }
}

void TFleetPort::ShowProgress(int position, int /*maximum*/)
{
    if (probe_) {
        // The radio answered the probe's handshake: it is still there.
        if (position > 0 && !probeAnswered_) {
            probeAnswered_ = true;
            probe_->Cancel();
        }
        return;
    }
    if (write_.Phase() == SafePhase::BackingUp && position > 0 && state_ == FleetState::Waiting)
        Set(FleetState::BackingUp);
    else if (state_ == FleetState::Writing)
        fleet_.PortChanged(index_);
}

bool TFleetPort::DoneAlready() const
{
    return !serial_.empty() && !fleet_.Options().rewriteDone && fleet_.Done(serial_);
}

// A radio written already in this run is left alone, without a backup.
bool TFleetPort::WantsRadio(const std::string& serial)
{
    serial_ = serial;
    return !DoneAlready();
}

void TFleetPort::ConfirmChanges(const std::vector<ContentChange>& changes)
{
    waitingForAnswer_ = true;
    if (std::optional<bool> answer = fleet_.AskPreview(index_, changes)) {
        waitingForAnswer_ = false;
        write_.Answer(*answer);
    }
}

void TFleetPort::Answer(bool write)
{
    if (!waitingForAnswer_)
        return;
    waitingForAnswer_ = false;
    write_.Answer(write);
}

void TFleetPort::Finished(const SafeOutcome& outcome)
{
    // A port that does not open has no radio to record.
    if (ended_ || opening_ || interrupting_)
        return;
    // A question may have waited for this radio's backup.
    fleet_.BackupEnded();
    // No block moved: without a backup the port shows "writing" from the
    // first frame, so its state does not tell.
    const bool nothingAnswered = outcome.link.result == LinkResult::Failed && LineFailure(outcome) &&
                                 write_.Progress() == 0;
    if (outcome.link.result == LinkResult::Cancelled && DoneAlready()) {
        // The same radio again: nothing written, nothing recorded.
        Set(FleetState::AlreadyDone);
        AfterRadio();
        return;
    }
    if (outcome.link.result == LinkResult::Cancelled) {
        End();
        return;
    }
    if (fleet_.Options().watch && nothingAnswered) {
        // No radio on this cable yet: look again shortly.
        if (stopping_) {
            End();
            return;
        }
        retry_ = clock_.Start(kRetryMs, [this] { Retry(); });
        return;
    }
    Record(outcome);
    AfterRadio();
}

void TFleetPort::Record(const SafeOutcome& outcome)
{
    seconds_ = static_cast<double>(fleet_.NowMs() - startedMs_) / 1000.0;
    if (serial_.empty())
        serial_ = write_.SerialNumber();
    FleetRecord r;
    r.when = started_;
    r.port = name_;
    r.device = device_;
    r.serial = serial_;
    if (const auto& before = write_.RadioBefore()) {
        r.model = ModelNameOf(*before);
        r.band = BandTextOf(*before);
    }
    r.sha256 = fleet_.Options().sha256;
    r.seconds = seconds_;
    r.backupFile = write_.BackupFile();
    if (outcome.link.result == LinkResult::Succeeded) {
        r.result = outcome.verified ? FleetResult::Verified : FleetResult::Written;
        state_ = FleetState::Done;
    } else if (outcome.link.result == LinkResult::Cancelled) {
        r.result = FleetResult::Interrupted;
        r.writeBegun = outcome.phase == SafePhase::Writing || outcome.phase == SafePhase::Verifying;
        message_ = FleetText(outcome.phase == SafePhase::Writing     ? "InterruptedWriting"
                             : outcome.phase == SafePhase::Verifying ? "InterruptedVerifying"
                                                                     : "InterruptedUnchanged");
        r.message = message_;
        state_ = FleetState::Failed;
    } else {
        r.result = FleetResult::Failed;
        message_ = SafeOutcomeText(outcome, write_.BackupFile());
        r.message = message_;
        state_ = FleetState::Failed;
    }
    fleet_.Record(index_, r);
}

// After a radio: done with this port, or in hands-free mode wait until the
// radio goes away before looking for the next one.
void TFleetPort::AfterRadio()
{
    if (!fleet_.Options().watch || stopping_) {
        End();
        return;
    }
    retry_ = clock_.Start(kRetryMs, [this] { Retry(); });
}

void TFleetPort::Retry()
{
    if (ended_)
        return;
    if (probe_) {
        // The probe has ended: release its engine, which gives the port
        // back to the safe write.
        const bool gone = probeGone_;
        probe_.reset();
        if (stopping_) {
            End();
        } else if (gone) {
            Set(FleetState::Waiting);
            Try();
        } else {
            retry_ = clock_.Start(kRetryMs, [this] { Retry(); });
            probeWaiting_ = true;
        }
        return;
    }
    if (stopping_) {
        End();
        return;
    }
    if (firstTry_) {
        firstTry_ = false;
        OpenFirst();
        return;
    }
    const bool radioOnCable = state_ == FleetState::Done || state_ == FleetState::Failed ||
                              state_ == FleetState::AlreadyDone;
    if (radioOnCable || probeWaiting_) {
        probeWaiting_ = false;
        Probe();
    } else
        Try();
}

// Whether the radio just handled is still on the cable: the first frames of
// a read's handshake, abandoned as soon as the radio answers them.
void TFleetPort::Probe()
{
    if (!port_.IsOpen()) {
        // The device went away: whatever comes back is a new radio.
        Set(FleetState::Waiting);
        Try();
        return;
    }
    probeAnswered_ = false;
    probe_ = std::make_unique<TRadioLink>(kReadJob, kReadWindow, port_, clock_, static_cast<TLinkView&>(*this));
    probe_->AttachOpenPort(name_, fleet_.Options().link);
    probe_->Start();
}

void TFleetPort::Finished(const LinkOutcome& outcome)
{
    if (!probe_)
        return;
    probeGone_ = !probeAnswered_ && outcome.result == LinkResult::Failed;
    // The engine is released after its handler has returned.
    retry_ = clock_.Start(0, [this] { Retry(); });
}

void TFleetPort::Cancel()
{
    stopping_ = true;
    waitingForAnswer_ = false;
    retry_.Stop();
    if (probe_)
        probe_->Cancel();
    if (write_.Running()) {
        // A radio that has answered with a block is in hand: what became
        // of it goes into the record.
        const bool inHand = write_.Progress() > 0;
        interrupting_ = true;
        write_.Cancel();
        interrupting_ = false;
        if (inHand && !ended_)
            Record(write_.Outcome());
    }
    End();
}

void TFleetPort::End()
{
    if (ended_)
        return;
    ended_ = true;
    retry_.Stop();
    if (state_ == FleetState::Waiting)
        Set(FleetState::Idle);
    fleet_.PortEnded(index_);
}

TFleet::TFleet(TFleetView& view, std::function<long()> nowMs) : view_(view), nowMs_(std::move(nowMs)) {}

TFleet::~TFleet() = default;

void TFleet::AddPort(const std::string& name, const std::string& device, TSerialPort& port, TLinkClock& clock)
{
    // The port follows its device by that name through the whole run, so
    // a cable that drops off and comes back renamed is found again.
    if (!device.empty())
        port.FollowDevice(device);
    TFleetRun& run = *this;
    ports_.push_back(std::make_unique<TFleetPort>(run, ports_.size(), name, device, port, clock));
}

bool TFleet::Start(const FleetOptions& options, std::string& why)
{
    options_ = options;
    std::string reason;
    if (!log_.Open(options.logFile, reason)) {
        why = FleetText("LogNotWritable", {options.logFile, reason});
        return false;
    }
    groups_.clear();
    written_ = verified_ = failed_ = interrupted_ = 0;
    done_.clear();
    for (auto& port : ports_)
        port->Arm();
    for (auto& port : ports_)
        port->Begin();
    return true;
}

void TFleet::PortEnded(size_t index)
{
    view_.ShowPort(index);
    if (!Running())
        view_.Ended();
}

void TFleet::Record(size_t index, const FleetRecord& record)
{
    switch (record.result) {
    case FleetResult::Verified:
        ++verified_;
        [[fallthrough]];
    case FleetResult::Written:
        ++written_;
        if (!record.serial.empty())
            done_.insert(record.serial);
        break;
    case FleetResult::Interrupted:
        ++interrupted_;
        break;
    case FleetResult::Failed:
        ++failed_;
        break;
    }
    log_.Append(record);
    view_.Recorded(index, record);
    view_.ShowPort(index);
}

std::optional<bool> TFleet::AskPreview(size_t index, const std::vector<ContentChange>& changes)
{
    const std::string key = ChangesText(changes);
    auto group = std::find_if(groups_.begin(), groups_.end(), [&](const PreviewGroup& g) { return g.key == key; });
    if (group == groups_.end())
        group = groups_.insert(groups_.end(), PreviewGroup{key, changes, {}, PreviewGroup::Answer::NotAsked});
    if (group->answer == PreviewGroup::Answer::Yes || group->answer == PreviewGroup::Answer::No)
        return group->answer == PreviewGroup::Answer::Yes;
    group->waiting.push_back(index);
    AskNext();
    return std::nullopt;
}

void TFleet::AskNext()
{
    for (const PreviewGroup& g : groups_)
        if (g.answer == PreviewGroup::Answer::Asked)
            return;
    // Radios still being backed up are waited for, so that one question
    // names every radio it covers.
    for (const auto& port : ports_)
        if (!port->Ended() && port->State() == FleetState::BackingUp && port->Phase() == SafePhase::BackingUp)
            return;
    for (PreviewGroup& g : groups_) {
        // A radio that went away meanwhile is not named.
        std::erase_if(g.waiting, [&](size_t i) { return !ports_[i]->WaitingForAnswer(); });
        if (g.answer != PreviewGroup::Answer::NotAsked || g.waiting.empty())
            continue;
        FleetQuestion question{g.changes, "", g.waiting.size()};
        for (size_t i : g.waiting) {
            const TFleetPort& port = *ports_[i];
            const std::string serial = port.Serial().empty() ? SafeText("NoSerial") : port.Serial();
            question.radios += (question.radios.empty() ? "" : ", ") + FleetText("RadioNamed", {port.Name(), serial});
        }
        g.answer = PreviewGroup::Answer::Asked;
        view_.ConfirmChanges(question);
        return;
    }
}

void TFleet::Answer(bool write)
{
    for (size_t n = 0; n < groups_.size(); ++n) {
        if (groups_[n].answer != PreviewGroup::Answer::Asked)
            continue;
        groups_[n].answer = write ? PreviewGroup::Answer::Yes : PreviewGroup::Answer::No;
        const std::vector<size_t> waiting = std::move(groups_[n].waiting);
        groups_[n].waiting.clear();
        for (size_t i : waiting)
            ports_[i]->Answer(write);
        break;
    }
    AskNext();
}

std::string TFleet::BlindWriteQuestion(const FleetOptions& options) const
{
    return FleetText(options.watch ? "BlindQuestionWatch" : "BlindQuestion", {std::to_string(ports_.size())});
}

void TFleet::Stop()
{
    for (auto& port : ports_)
        port->StopAfterRadio();
    // A port ends at once unless its radio is being written: a radio not
    // yet written is left as it was.
    for (auto& port : ports_) {
        const SafePhase phase = port->Phase();
        if (!port->Ended() &&
            (!port->WriteRunning() || phase == SafePhase::BackingUp || phase == SafePhase::Confirming))
            port->Cancel();
    }
}

void TFleet::Cancel()
{
    for (auto& port : ports_)
        port->Cancel();
}

bool TFleet::Running() const
{
    for (const auto& port : ports_)
        if (!port->Ended())
            return true;
    return false;
}

std::string TFleet::SummaryText() const
{
    return FleetText(
        interrupted_ ? "SummaryInterrupted" : "Summary",
        {std::to_string(written_), std::to_string(verified_), std::to_string(failed_), std::to_string(interrupted_)});
}
