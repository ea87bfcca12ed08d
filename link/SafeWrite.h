// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A write the user can trust and undo, on one port: back the radio up (a
// read into a buffer of its own, saved as a data file), show what the write
// will change and wait for the answer, write, then read the radio back and
// compare every block sent. Each step is the ordinary read or write
// exchange, run by an engine of its own; the steps show as one operation
// with one progress bar.
//
// The object keeps all its state in itself and talks only to its port, its
// clock and its view, so one safe write per port can run side by side on
// one event loop. It is the listener of the port and passes its events to
// the engine of the step in progress. It writes the document it is given and
// leaves the program's document alone.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "document/ContentsDiff.h"
#include "document/RadioContents.h"
#include "link/RadioLink.h"

enum class SafePhase { Idle, BackingUp, Confirming, Writing, Verifying, Done };

struct SafeWriteOptions {
    bool backup = true;
    bool verify = true;
    std::string backupFolder; // where the backup is saved
};

// What a safe write puts into the radio: the document's contents, and the
// band its model block names.
struct WriteDocument {
    RadioContents contents;
    uint8_t bandCode = 0;
};

// Why a safe write failed, beyond the link's own failures.
enum class SafeFailure { None, Link, BackupNotSaved, VerifyMismatch };

struct SafeOutcome {
    // The result, and for a failure of the link what failed (a radio of
    // another model or band is WrongModel) and the block the radio refused.
    LinkOutcome link;
    SafeFailure failure = SafeFailure::None;
    SafePhase phase = SafePhase::Idle;         // the step it ended in
    std::string where;                         // the folder a backup could not be saved in
    std::string detail;                        // and the system's reason
    bool verified = false;                     // the radio was read back and holds what was sent
    std::optional<BlockDifference> difference; // the first block verify found different
    std::string radioBand;                     // a radio of another band than the document's:
    std::string documentBand;                  // both bands
    // Blocks 0..24 as the write step prepared them, the model block and,
    // once its handshake passed, the write time included; empty when no
    // write began.
    std::vector<uint8_t> sent;
};
// Whether the connection doctor may find the cause of the failure: the
// port or the line failed, not the radio's answer to a block.
bool LineFailure(const SafeOutcome& outcome);

class TSafeWriteView {
public:
    virtual ~TSafeWriteView() = default;
    virtual void ShowPhase(SafePhase /*phase*/) {}
    virtual void ShowProgress(int /*position*/, int /*maximum*/) {}
    virtual void LogLine(const std::string& /*line*/) {}
    // The radio's memory is read: false ends the run as cancelled before
    // its backup is saved (a fleet skips a radio it has written already).
    virtual bool WantsRadio(const std::string& /*serial*/) { return true; }
    // The backup is in hand: the write waits for Answer(). `changes` is
    // empty when the radio already holds the document.
    virtual void ConfirmChanges(const std::vector<ContentChange>& changes) = 0;
    // Exactly once for each Start(), and for an Open() that fails.
    virtual void Finished(const SafeOutcome& /*outcome*/) {}
    // After an Open() that failed: the window closes.
    virtual void CloseWindow() {}
};

class TSafeWrite : public TPortListener, private TLinkView {
public:
    TSafeWrite(TSerialPort& port, TLinkClock& clock, TSafeWriteView& view);
    ~TSafeWrite() override;
    TSafeWrite(const TSafeWrite&) = delete;
    TSafeWrite& operator=(const TSafeWrite&) = delete;

    // Opens the named port; false (and Finished with PortNotOpened or
    // PortInUse) when it does not open.
    bool Open(const std::string& portName, const LinkSettings& settings);
    // Backs up, asks, writes and verifies the document into the radio.
    void Start(const SafeWriteOptions& options, const WriteDocument& document);
    // The answer to ConfirmChanges: write, or stop with Cancelled.
    void Answer(bool write);
    // Stops the step in progress without a word to the radio; Finished
    // hears Cancelled. The document is left as it is.
    void Cancel();
    // Cancels and closes the port.
    void Close();

    // The preview is skipped when the radio holds exactly these contents
    // (the radio before, when the same document goes into several radios).
    void SkipPreviewFor(std::optional<RadioContents> contents) { skipPreviewFor_ = std::move(contents); }

    SafePhase Phase() const { return phase_; }
    bool Running() const { return phase_ != SafePhase::Idle && phase_ != SafePhase::Done; }
    // The progress over every step of this write.
    int Progress() const { return progress_; }
    int ProgressMax() const { return progressMax_; }
    // The progress within the step in progress ("writing 7 of 24").
    int StepProgress() const;
    const std::string& BackupFile() const { return backupFile_; }
    const std::string& SerialNumber() const { return serial_; }
    // What the backup read found in the radio.
    const std::optional<RadioContents>& RadioBefore() const { return radioBefore_; }
    const SafeOutcome& Outcome() const { return outcome_; }

    void myPortTrigger(size_t n) override;
    void myPortTriggerLineError() override;

private:
    // What the engines tell the view.
    void ShowProgress(int position, int maximum) override;
    void LogLine(const std::string& line) override;
    void Finished(const LinkOutcome& outcome) override;
    void CloseWindow() override;

    TRadioLink* Engine();
    void EnterPhase(SafePhase phase);
    void Next();
    void AfterBackup();
    void StartWrite();
    void AfterWrite();
    void AfterVerify();
    void Succeed();
    void Fail(SafeFailure failure, LinkFailure linkFailure = LinkFailure::None);
    // Takes the next step from the event loop.
    void NextLater();
    // The step's link failure.
    void FailLink();
    void End(SafeOutcome outcome);
    void StopEngineTimers();
    int PhaseBase() const;

    TSerialPort& port_;
    TLinkClock& clock_;
    TSafeWriteView& view_;
    TLinkTimer nextPhase_;
    TRadioLink reader_;
    TRadioLink writer_;
    TRadioLink* active_ = nullptr; // the engine of the last step started
    bool answered_ = false;
    std::string portName_;
    LinkSettings settings_;
    SafeWriteOptions options_;
    WriteDocument document_;
    SafePhase phase_ = SafePhase::Idle;
    std::optional<LinkOutcome> engineOutcome_;
    bool cancelling_ = false;
    bool opening_ = false;
    bool openFailed_ = false;
    int progress_ = 0;
    int progressMax_ = 0;
    int stepBase_ = 0; // the progress at the start of the step in progress
    std::array<uint8_t, kImageSize> readBack_{};
    std::vector<uint8_t> sent_; // the write step's blocks as it prepared them
    std::optional<RadioContents> radioBefore_;
    std::optional<RadioContents> skipPreviewFor_;
    std::string backupFile_;
    std::string serial_;
    SafeOutcome outcome_;
};

// The outcome in words, as the window and the command line show it: the
// link's message, the backup that stays after a failed write, the block
// verify found different, or "Verified". Empty for a cancel.
std::string SafeOutcomeText(const SafeOutcome& outcome, const std::string& backupFile);
