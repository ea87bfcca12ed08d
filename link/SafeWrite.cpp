// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/SafeWrite.h"

#include <cstdio>
#include <ctime>

#include "document/Backups.h"
#include "document/SafeTexts.h"
#include "settings/Language.h"

namespace {
// Blocks a read and a write move, as their progress counts them.
constexpr int kReadSteps = 27;
constexpr int kWriteSteps = 24;

SafeOutcome Ended(LinkResult result, LinkFailure failure = LinkFailure::None)
{
    SafeOutcome outcome;
    outcome.link.result = result;
    outcome.link.write = true;
    outcome.link.failure = failure;
    outcome.failure = result == LinkResult::Failed ? SafeFailure::Link : SafeFailure::None;
    return outcome;
}
} // namespace

bool LineFailure(const SafeOutcome& outcome)
{
    return outcome.failure == SafeFailure::Link && LineFailure(outcome.link.failure) && outcome.link.refusedBlock < 0;
}

TSafeWrite::TSafeWrite(TSerialPort& port, TLinkClock& clock, TSafeWriteView& view)
    : port_(port), clock_(clock), view_(view), reader_(kReadJob, kReadWindow, port, clock, *this),
      writer_(kWriteJob, kWriteWindow, port, clock, *this)
{
    port_.SetListener(this);
}

TSafeWrite::~TSafeWrite()
{
    if (port_.Listener() == this)
        port_.SetListener(nullptr);
}

bool TSafeWrite::Open(const std::string& portName, const LinkSettings& settings)
{
    portName_ = portName;
    settings_ = settings;
    active_ = &reader_;
    opening_ = true;
    const bool opened = reader_.Open(portName, settings);
    opening_ = false;
    openFailed_ = !opened;
    if (opened)
        return true;
    phase_ = SafePhase::Done;
    outcome_ = Ended(LinkResult::Failed, port_.OpenFailedInUse() ? LinkFailure::PortInUse : LinkFailure::PortNotOpened);
    view_.Finished(outcome_);
    return false;
}

void TSafeWrite::Start(const SafeWriteOptions& options, const WriteDocument& document)
{
    Cancel();
    options_ = options;
    document_ = document;
    sent_.clear();
    outcome_ = SafeOutcome{};
    backupFile_.clear();
    serial_.clear();
    radioBefore_.reset();
    answered_ = false;
    progress_ = 0;
    stepBase_ = 0;
    progressMax_ = (options.backup ? kReadSteps : 0) + kWriteSteps + (options.verify ? kReadSteps : 0);
    view_.ShowProgress(0, progressMax_);
    if (!options.backup) {
        StartWrite();
        return;
    }
    EnterPhase(SafePhase::BackingUp);
    active_ = &reader_;
    reader_.Start();
}

void TSafeWrite::Answer(bool write)
{
    if (phase_ != SafePhase::Confirming || answered_)
        return;
    if (!write) {
        End(Ended(LinkResult::Cancelled));
        return;
    }
    answered_ = true;
    NextLater();
}

void TSafeWrite::NextLater()
{
    nextPhase_ = clock_.Start(0, [this] { Next(); });
}

void TSafeWrite::Cancel()
{
    if (!Running())
        return;
    cancelling_ = true;
    if (TRadioLink* engine = Engine())
        engine->Cancel();
    cancelling_ = false;
    nextPhase_.Stop();
    StopEngineTimers();
    End(Ended(LinkResult::Cancelled));
}

void TSafeWrite::Close()
{
    Cancel();
    reader_.Close();
    writer_.Close();
}

TRadioLink* TSafeWrite::Engine()
{
    switch (phase_) {
    case SafePhase::BackingUp:
    case SafePhase::Verifying:
        return &reader_;
    case SafePhase::Writing:
        return &writer_;
    default:
        return nullptr;
    }
}

void TSafeWrite::EnterPhase(SafePhase phase)
{
    phase_ = phase;
    if (phase == SafePhase::BackingUp || phase == SafePhase::Writing || phase == SafePhase::Verifying)
        stepBase_ = PhaseBase();
    view_.ShowPhase(phase);
}

int TSafeWrite::StepProgress() const
{
    return progress_ - stepBase_;
}

int TSafeWrite::PhaseBase() const
{
    const int backup = options_.backup ? kReadSteps : 0;
    switch (phase_) {
    case SafePhase::Writing:
        return backup;
    case SafePhase::Verifying:
        return backup + kWriteSteps;
    default:
        return 0;
    }
}

void TSafeWrite::StopEngineTimers()
{
    reader_.StopTimers();
    writer_.StopTimers();
}

void TSafeWrite::myPortTrigger(size_t n)
{
    if (active_)
        active_->myPortTrigger(n);
}

void TSafeWrite::myPortTriggerLineError()
{
    if (active_)
        active_->myPortTriggerLineError();
}

void TSafeWrite::ShowProgress(int position, int /*maximum*/)
{
    TRadioLink* engine = Engine();
    if (!engine || !engine->Running())
        return; // an engine resetting its bar after its outcome
    progress_ = stepBase_ + position;
    view_.ShowProgress(progress_, progressMax_);
}

void TSafeWrite::LogLine(const std::string& line)
{
    view_.LogLine(line);
}

void TSafeWrite::Finished(const LinkOutcome& outcome)
{
    if (outcome.write)
        sent_ = outcome.bytes;
    // The step's outcome is taken up from the event loop: the engine goes
    // on after telling it (the end frame, its own timers).
    if (opening_ || cancelling_ || !Engine())
        return;
    engineOutcome_ = outcome;
    // A read brings the radio's blocks; the bytes beyond its reach are the
    // document's, as a read into the document leaves them.
    if (!outcome.write && outcome.result == LinkResult::Succeeded) {
        readBack_ = document_.contents.image;
        std::copy_n(outcome.bytes.begin(), std::min(outcome.bytes.size(), readBack_.size()), readBack_.begin());
    }
    NextLater();
}

void TSafeWrite::CloseWindow()
{
    if (openFailed_)
        view_.CloseWindow();
}

void TSafeWrite::Next()
{
    StopEngineTimers();
    switch (phase_) {
    case SafePhase::BackingUp:
        AfterBackup();
        break;
    case SafePhase::Confirming:
        if (answered_)
            StartWrite();
        break;
    case SafePhase::Writing:
        AfterWrite();
        break;
    case SafePhase::Verifying:
        AfterVerify();
        break;
    case SafePhase::Idle:
    case SafePhase::Done:
        break;
    }
}

void TSafeWrite::AfterBackup()
{
    if (!engineOutcome_ || engineOutcome_->result != LinkResult::Succeeded) {
        FailLink();
        return;
    }
    RadioContents radio{reader_.ReceivedModelCode(), "", readBack_};
    radioBefore_ = radio;
    serial_ = SerialNumberOf(radio);
    // The document must be for this very radio: the same model and band.
    const RadioContents& document = document_.contents;
    if (radio.modelCode != document.modelCode || radio.BandCode() != document.BandCode()) {
        if (radio.modelCode == document.modelCode) {
            outcome_.radioBand = BandTextOf(radio);
            outcome_.documentBand = BandTextOf(document);
        }
        Fail(SafeFailure::Link, LinkFailure::WrongModel);
        return;
    }
    if (!view_.WantsRadio(serial_)) {
        End(Ended(LinkResult::Cancelled));
        return;
    }
    std::string reason;
    backupFile_ = SaveBackup(radio, options_.backupFolder, std::time(nullptr), &reason);
    if (backupFile_.empty()) {
        outcome_.detail = reason;
        Fail(SafeFailure::BackupNotSaved);
        return;
    }
    view_.LogLine(SafeText("BackupSaved", {backupFile_}));
    if (skipPreviewFor_ && DiffContents(*skipPreviewFor_, radio).empty()) {
        StartWrite();
        return;
    }
    EnterPhase(SafePhase::Confirming);
    view_.ConfirmChanges(DiffContents(radio, document));
}

void TSafeWrite::StartWrite()
{
    EnterPhase(SafePhase::Writing);
    active_ = &writer_;
    writer_.AttachOpenPort(portName_, settings_);
    writer_.Start(document_.contents.image, document_.contents.modelCode, document_.bandCode);
}

void TSafeWrite::AfterWrite()
{
    if (!engineOutcome_ || engineOutcome_->result != LinkResult::Succeeded) {
        // The plain write (no backup, no verify) keeps the link's own
        // message for a refused block; the safe write names the block.
        if (engineOutcome_ && engineOutcome_->refusedBlock >= 0 && (options_.backup || options_.verify)) {
            outcome_.link.refusedBlock = engineOutcome_->refusedBlock;
            outcome_.link.refusedReply = engineOutcome_->refusedReply;
            Fail(SafeFailure::Link, LinkFailure::Refused);
            return;
        }
        FailLink();
        return;
    }
    if (!options_.verify) {
        Succeed();
        return;
    }
    EnterPhase(SafePhase::Verifying);
    active_ = &reader_;
    reader_.Start();
}

void TSafeWrite::AfterVerify()
{
    if (!engineOutcome_ || engineOutcome_->result != LinkResult::Succeeded) {
        FailLink();
        return;
    }
    // Without a backup, the read back is the first look at the radio's
    // serial number, which the record of a fleet wants.
    if (serial_.empty())
        serial_ = SerialNumberOf(RadioContents{reader_.ReceivedModelCode(), "", readBack_});
    outcome_.difference = FirstDifferentBlock(writer_.SentBlocks().data(), readBack_.data());
    if (outcome_.difference) {
        Fail(SafeFailure::VerifyMismatch);
        return;
    }
    outcome_.verified = true;
    Succeed();
}

void TSafeWrite::Succeed()
{
    SafeOutcome outcome = outcome_;
    outcome.link.result = LinkResult::Succeeded;
    outcome.link.write = true;
    End(outcome);
}

void TSafeWrite::Fail(SafeFailure failure, LinkFailure linkFailure)
{
    SafeOutcome outcome = outcome_;
    outcome.link.result = LinkResult::Failed;
    outcome.link.write = true;
    outcome.link.failure = linkFailure;
    outcome.failure = failure;
    if (failure == SafeFailure::BackupNotSaved)
        outcome.where = options_.backupFolder;
    End(outcome);
}

void TSafeWrite::FailLink()
{
    // The port was open when this step began: a step that cannot start on
    // it has lost its device, which is a failure of the line, not of opening.
    LinkFailure failure = engineOutcome_ ? engineOutcome_->failure : LinkFailure::LineLost;
    if (failure == LinkFailure::PortNotOpened || failure == LinkFailure::PortFailed)
        failure = LinkFailure::LineLost;
    Fail(SafeFailure::Link, failure);
}

void TSafeWrite::End(SafeOutcome outcome)
{
    outcome.phase = phase_;
    outcome.sent = sent_;
    outcome_ = outcome;
    engineOutcome_.reset();
    phase_ = SafePhase::Done;
    view_.Finished(outcome_);
}

std::string SafeOutcomeText(const SafeOutcome& outcome, const std::string& backupFile)
{
    std::string text;
    switch (outcome.failure) {
    case SafeFailure::None:
        if (outcome.link.result == LinkResult::Succeeded)
            return outcome.verified ? SafeText("Verified") : Language.WriteOk;
        return {};
    case SafeFailure::Link:
        if (outcome.link.refusedBlock >= 0) {
            char address[16];
            std::snprintf(address, sizeof address, "0x%03X", static_cast<unsigned>(outcome.link.refusedBlock) * 16u);
            std::string reply;
            AppendHex(reply, outcome.link.refusedReply);
            text = SafeText("BlockRefused", {std::to_string(outcome.link.refusedBlock), address, reply});
        } else if (!outcome.radioBand.empty()) {
            return SafeText("WrongBand", {outcome.radioBand, outcome.documentBand});
        } else {
            text = MessageText(outcome.link);
        }
        break;
    case SafeFailure::BackupNotSaved:
        return SafeText("BackupNotSaved", {outcome.where, outcome.detail});
    case SafeFailure::VerifyMismatch:
        text = SafeText("VerifyFailed", {std::to_string(outcome.difference ? outcome.difference->block : 0),
                                         outcome.difference ? outcome.difference->place : std::string()});
        break;
    }
    // Once the write has begun, the backup is what puts the radio back.
    const bool writeBegun = outcome.phase == SafePhase::Writing || outcome.phase == SafePhase::Verifying;
    if (writeBegun && !backupFile.empty())
        text += "\n" + SafeText("BackupKept", {backupFile});
    return text;
}
