// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fleet write: one document into many radios on many ports at once.
// Each port has an object of its own that runs a safe write on its own port
// and clock, so all of them share one event loop and a failure on one port
// never holds up another. The change preview is asked once for each group
// of radios whose differences are the same, naming them; a later radio with
// the differences of an answered group takes that answer, any other radio
// gets a question of its own.
//
// In hands-free mode a port looks for a radio with the first frames of the
// handshake every 1.5 s, writes it, and then keeps looking until that radio
// stops answering or the device goes away before it takes the next one.
#include <array>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "document/FleetLog.h"
#include "link/SafeWrite.h"

enum class FleetState { Idle, Waiting, BackingUp, Writing, Verifying, Done, Failed, AlreadyDone };

struct FleetOptions {
    SafeWriteOptions write;
    WriteDocument document; // what goes into every radio
    LinkSettings link;
    std::string logFile;
    bool watch = false;       // hands-free: radio after radio on each port
    bool rewriteDone = false; // write a serial number done in this run again
    std::string sha256;       // of the document, for the record
};

// One change preview: the differences shared by the radios it names.
struct FleetQuestion {
    std::vector<ContentChange> changes; // empty: the radios hold the document
    std::string radios;                 // "COM1 (serial number …), COM2 (…)"
    size_t count = 0;                   // how many radios it covers
};

class TFleetView {
public:
    virtual ~TFleetView() = default;
    // A port's state or progress changed.
    virtual void ShowPort(size_t /*index*/) {}
    // Radios are backed up: their writes wait for TFleet::Answer. One
    // question at a time.
    virtual void ConfirmChanges(const FleetQuestion& question) = 0;
    // A radio is done or failed; its line is in the log.
    virtual void Recorded(size_t /*index*/, const FleetRecord& /*record*/) {}
    // A port could not be opened; the others go on.
    virtual void PortNotOpened(size_t /*index*/) {}
    // Every port has ended.
    virtual void Ended() {}
};

// What a port asks of the fleet it belongs to.
class TFleetRun {
public:
    virtual ~TFleetRun() = default;
    virtual const FleetOptions& Options() const = 0;
    // Milliseconds of a steady clock.
    virtual long NowMs() const = 0;
    // The radio's result goes into the log and the counts.
    virtual void Record(size_t index, const FleetRecord& record) = 0;
    // The backup is in hand: the preview of these changes. The answer when
    // radios with the same changes have had one; none: it comes through
    // TFleetPort::Answer.
    virtual std::optional<bool> AskPreview(size_t index, const std::vector<ContentChange>& changes) = 0;
    // A radio's backup ended: a question may have waited for it.
    virtual void BackupEnded() = 0;
    // Whether the radio of this serial number is written in this run.
    virtual bool Done(const std::string& serial) const = 0;
    // The port's state changed; it could not be opened; it ended.
    virtual void PortChanged(size_t index) = 0;
    virtual void PortNotOpened(size_t index) = 0;
    virtual void PortEnded(size_t index) = 0;
};

// One port of the fleet.
class TFleetPort : private TSafeWriteView, private TLinkView {
public:
    TFleetPort(TFleetRun& fleet, size_t index, std::string name, std::string device, TSerialPort& port,
               TLinkClock& clock);
    ~TFleetPort() override;

    const std::string& Name() const { return name_; }
    const std::string& Device() const { return device_; }
    FleetState State() const { return state_; }
    // The block being written (1 to 25) while writing.
    int Block() const { return write_.StepProgress(); }
    const std::string& Serial() const { return serial_; }
    double Seconds() const { return seconds_; }
    const std::string& Message() const { return message_; }
    // The state in words, as the window and the command line show it.
    std::string StateText() const;
    bool Ended() const { return ended_; }
    SafePhase Phase() const { return write_.Phase(); }
    bool WriteRunning() const { return write_.Running(); }
    bool WaitingForAnswer() const { return waitingForAnswer_; }

    // Counts as running from now on, before it begins.
    void Arm() { ended_ = false; }
    void Begin();
    void StopAfterRadio() { stopping_ = true; }
    // Ends now; a radio in hand is recorded as interrupted.
    void Cancel();
    void Answer(bool write);

private:
    void ShowPhase(SafePhase phase) override;
    void ShowProgress(int position, int maximum) override;
    bool WantsRadio(const std::string& serial) override;
    void ConfirmChanges(const std::vector<ContentChange>& changes) override;
    void Finished(const SafeOutcome& outcome) override;
    void Retry();
    // The presence probe's engine reports here.
    void Finished(const LinkOutcome& outcome) override;

    // The serial number in hand is done in this run and is not to be
    // written again.
    bool DoneAlready() const;
    bool OpenPort();
    void OpenFirst();
    void Try();
    void Probe();
    void EndProbe();
    void Set(FleetState state);
    void Record(const SafeOutcome& outcome);
    void AfterRadio();
    void End();

    TFleetRun& fleet_;
    size_t index_;
    std::string name_;
    std::string device_;
    TSerialPort& port_;
    TLinkClock& clock_;
    TSafeWrite write_;
    TLinkTimer retry_; // looks for the next radio, or the same one again
    std::unique_ptr<TRadioLink> probe_;
    bool probeAnswered_ = false;
    bool probeGone_ = false;
    bool probeWaiting_ = false;
    FleetState state_ = FleetState::Idle;
    std::string serial_;
    std::string message_;
    double seconds_ = 0;
    std::time_t started_ = 0;
    long startedMs_ = 0;
    bool stopping_ = false;
    bool ended_ = true;
    bool waitingForAnswer_ = false;
    bool opening_ = false;
    bool firstTry_ = false;
    bool interrupting_ = false;
};

class TFleet : private TFleetRun {
public:
    // `now` gives milliseconds of a steady clock, for the time each radio
    // takes (the tests give the fake clock's).
    TFleet(TFleetView& view, std::function<long()> nowMs);
    ~TFleet();

    // `device` is the name the port opens its device by for the whole run
    // (see FollowedName), and the device of the record; empty: the port's own.
    void AddPort(const std::string& name, const std::string& device, TSerialPort& port, TLinkClock& clock);
    size_t PortCount() const { return ports_.size(); }
    TFleetPort& Port(size_t i) { return *ports_[i]; }

    // Opens the log and starts every port; false with the reason in words
    // (nothing opened, nothing written) when the log cannot be written.
    bool Start(const FleetOptions& options, std::string& why);
    // The answer to the open question, for its radios and every later one
    // with the same differences.
    void Answer(bool write);
    // The question a run without backups asks before Start: how many radios
    // will be written blind.
    std::string BlindWriteQuestion(const FleetOptions& options) const;
    // Every radio being written finishes its write and verify; no radio is
    // begun, and one still being backed up or asked about is left as it is.
    void Stop();
    // Every port ends now; a radio in hand is recorded as interrupted.
    void Cancel();
    bool Running() const;

    int Written() const { return written_; }
    int Verified() const { return verified_; }
    int Failed() const { return failed_; }
    int Interrupted() const { return interrupted_; }
    std::string SummaryText() const;

private:
    const FleetOptions& Options() const override { return options_; }
    long NowMs() const override { return nowMs_(); }
    void Record(size_t index, const FleetRecord& record) override;
    std::optional<bool> AskPreview(size_t index, const std::vector<ContentChange>& changes) override;
    void BackupEnded() override { AskNext(); }
    bool Done(const std::string& serial) const override { return done_.count(serial) > 0; }
    void PortChanged(size_t index) override { view_.ShowPort(index); }
    void PortNotOpened(size_t index) override { view_.PortNotOpened(index); }
    void PortEnded(size_t index) override;

    TFleetView& view_;
    std::function<long()> nowMs_;
    std::vector<std::unique_ptr<TFleetPort>> ports_;
    FleetOptions options_;
    TFleetLog log_;
    std::set<std::string> done_; // serial numbers written in this run
    // The radios that share one set of differences, and their answer.
    struct PreviewGroup {
        std::string key; // the differences in words
        std::vector<ContentChange> changes;
        std::vector<size_t> waiting; // ports waiting for the answer
        enum class Answer { NotAsked, Asked, Yes, No } answer = Answer::NotAsked;
    };
    void AskNext();
    std::vector<PreviewGroup> groups_;
    int written_ = 0;
    int verified_ = 0;
    int failed_ = 0;
    int interrupted_ = 0;
};
