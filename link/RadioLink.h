// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exchange with the radio: one engine for the read and the write. It
// sends a frame, waits for a reply of known minimum length and moves one
// step on; there is no retransmission, a missing or wrong reply ends the
// operation. The read and write windows and the command line are thin
// drivers: they show the progress, the log and the outcome the engine
// reports, and close when it asks them to.
//
// An engine keeps all its state in itself and talks only to its own port,
// clock and view, so several engines (one per port) can run side by side on
// one event loop. It works on the bytes it is given and gives back the
// bytes it read: what becomes of the document is for its driver to decide.
#include <array>
#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "core/ImageLayout.h"
#include "link/LinkClock.h"
#include "link/LinkFrames.h"
#include "link/SerialPort.h"
#include "settings/Language.h"

enum class LinkStep { Idle, AwaitProgramAck, AwaitIdent, AwaitAuth, Blocks };
enum class BlockPhase { AwaitData, AwaitAck };

// Everything in which a read and a write differ on the line.
struct LinkJob {
    int blockCount; // blocks 0 .. blockCount-1 move
    int progressMax;
    uint8_t requestCommand;  // 'R' or 'W'
    bool requestCarriesData; // a write request carries the image block
    int requestReplyLength;  // 20 for a data reply, 1 for an acknowledge
    int drainPollMs;         // transmit-queue polling after each frame
    int drainPollLimit;
    bool resetCountAfterDrain;
    bool stampsImage; // model block at the start, write time after the handshake
    bool lineErrorShowsAtOnce;
};

// How the window around an engine behaves; each driver gives its own.
struct LinkWindowPolicy {
    bool reopenOnShow;          // close and flush before the port is opened
    bool timeoutEnablesOk;      // a reply that does not come makes Ok usable again
    bool staysOpenAfterSuccess; // ready for the next radio instead of closing
};
// The read window closes after its read; the write window stays for the
// next radio.
extern const LinkWindowPolicy kReadWindow;
extern const LinkWindowPolicy kWriteWindow;

// How an operation ended, and for a failure what failed.
enum class LinkResult { Succeeded, Failed, Cancelled };
enum class LinkFailure {
    None,          // it succeeded or was cancelled
    PortNotOpened, // the port does not exist or refuses its settings
    PortInUse,     // another program holds the port
    PortFailed,    // the open port refused the flush or the first frame
    NoAnswer,      // a reply did not come in time
    WrongTag,      // the radio answered the handshake with another tag
    WrongModel,    // the radio is of a model the catalogue does not know
    Refused,       // the radio answered a block with another byte than 06
    LineLost,      // the device stopped answering
};
struct LinkOutcome {
    LinkResult result = LinkResult::Cancelled;
    LinkFailure failure = LinkFailure::None;
    bool write = false; // the operation was a write
    // A read that succeeded: blocks 0..27 as read (block 27 is never
    // received and stays 00). A write: blocks 0..24 as far as they were
    // prepared, the model block and, once the handshake passed, the write
    // time included. Nothing for a port that did not open.
    std::vector<uint8_t> bytes;
    // A failed write whose block request the radio answered with another
    // byte than 06: the block, and the byte.
    int refusedBlock = -1;
    uint8_t refusedReply = 0;
};

// The text that reports the outcome (ReadOk, WriteOk, PortError, PortInUse,
// ComError, ModError); none for a cancel.
std::string TLanguage::*OutcomeMessage(const LinkOutcome& outcome);
// A failure the connection doctor may explain: the port or the line.
bool LineFailure(LinkFailure failure);
// The text of the outcome's message in the current language; empty for none.
std::string MessageText(const LinkOutcome& outcome);
// Shows the outcome's message as the link windows do (nothing for a cancel).
void ShowOutcome(const LinkOutcome& outcome);

// Reads blocks 0..26 into image 0x000..0x1BF.
extern const LinkJob kReadJob;
// Writes image blocks 0..24.
extern const LinkJob kWriteJob;

class TLinkView {
public:
    virtual ~TLinkView() = default;
    virtual void ShowProgress(int /*position*/, int /*maximum*/) {}
    virtual void EnableOk(bool /*enabled*/) {}
    virtual void ClearLog() {}
    virtual void LogLine(const std::string& /*line*/) {}
    // The operation in progress has ended: called exactly once for each
    // Start(), and for an Open() that fails. The engine may go on (the
    // write's end frame, the timers that close the window or enable Ok), so
    // a view that starts the next operation does so from a queued call.
    virtual void Finished(const LinkOutcome& /*outcome*/) {}
    // The operation is over: the window closes (CloseTime fired).
    virtual void CloseWindow() {}
};

// What the program's settings give every exchange: the speed of the line
// and the identification the program sends in the handshake.
struct LinkSettings {
    int baudRate = 0;
    std::string identString;
};

class TRadioLink : public TPortListener {
public:
    // Becomes the listener of the port, and gives it back to the listener
    // before it when it goes; port, clock and view must outlive it.
    TRadioLink(const LinkJob& job, const LinkWindowPolicy& policy, TSerialPort& port, TLinkClock& clock,
               TLinkView& view);
    ~TRadioLink() override;
    TRadioLink(const TRadioLink&) = delete;
    TRadioLink& operator=(const TRadioLink&) = delete;

    // Opens the named port ("COM3"). False when it does not open; the view
    // then has the failure (PortNotOpened, or PortInUse when another
    // program holds the port) and is asked to close 300 ms later.
    bool Open(const std::string& portName, const LinkSettings& settings);
    // Takes over the port named `portName` that another engine on the same
    // port has opened: nothing is opened or flushed.
    void AttachOpenPort(const std::string& portName, const LinkSettings& settings);
    // Starts the read, or the write of `image` (at least blocks 0..24: the
    // engine sends a copy, with the model block made for `modelCode` and
    // `bandCode` and the write time stamped after the handshake). The
    // outcome reaches the view once.
    void Start();
    void Start(std::span<const uint8_t> image, const std::string& modelCode, uint8_t bandCode);
    // Abandons the operation in progress without a word to the radio: the
    // timers stop and the view hears Cancelled. Nothing happens when no
    // operation is in progress.
    void Cancel();
    // Cancels, then closes the port (the window closes).
    void Close();
    // Stops the timers the engine runs after an outcome (the window's), for
    // a driver that goes on with the next step itself.
    void StopTimers();

    void myPortTrigger(size_t n) override;
    void myPortTriggerLineError() override;

    LinkStep Step() const { return step_; }
    // Between Start() and the outcome.
    bool Running() const { return running_; }
    bool ReadSucceeded() const { return readSucceeded_; }
    bool OkEnabled() const { return okEnabled_; }
    int Progress() const { return progress_; }
    int ProgressMax() const { return job_.progressMax; }
    int BlockIndex() const { return blockIndex_; }
    const std::string& ReceivedModelCode() const { return receivedModel_; }
    // Blocks 0..24 exactly as the last write sent them, time stamp included.
    const std::array<uint8_t, kWriteBlocks * kBlockSize>& SentBlocks() const { return sent_; }

    // For the tests: the link tag drawn for ports above 9 comes from here.
    void SeedTagChoice(unsigned seed) { random_.seed(seed); }

private:
    bool Send(const uint8_t* bytes, size_t count, int expectedReply, BlockPhase phase);
    template <size_t N>
    bool Send(const std::array<uint8_t, N>& frame, int expectedReply, BlockPhase phase = BlockPhase::AwaitAck)
    {
        return Send(frame.data(), N, expectedReply, phase);
    }
    void Begin();
    void SendEnd();
    void SendAck();
    void SendBlockRequest();
    void StepHandler();
    void OnIdentReply();
    void OnAuthReply();
    void OnBlockReply();
    void Finish();
    void OnTimeout(LinkTimer timer);
    // (Re)starts one of the engine's timers for its interval.
    void Arm(LinkTimer timer);
    void Disarm(LinkTimer timer) { timers_[static_cast<size_t>(timer)].Stop(); }
    void TimerFired(LinkTimer timer);
    // Ends the operation in progress with this outcome; nothing when none is
    // in progress (an error after the outcome is not reported again).
    void End(LinkResult result, LinkFailure failure = LinkFailure::None);
    void Fail(LinkFailure failure) { End(LinkResult::Failed, failure); }
    // The failure, then the window closes 300 ms later.
    void FailAndClose(LinkFailure failure);
    void SetProgress(int value);
    void EnableOk(bool enabled);

    const LinkJob& job_;
    const LinkWindowPolicy& policy_;
    TSerialPort& port_;
    TLinkClock& clock_;
    TLinkView& view_;
    TPortListener* previousListener_;
    LinkSettings settings_;
    std::mt19937 random_{std::random_device{}()};
    std::array<TLinkTimer, kLinkTimerCount> timers_;

    LinkStep step_ = LinkStep::Idle;
    BlockPhase phase_ = BlockPhase::AwaitData;
    std::array<uint8_t, kReceiveBufferSize> receive_{};
    size_t received_ = 0;
    size_t expected_ = 0;
    int blockIndex_ = -1;
    int portNumber_ = 0;
    uint8_t tagByte_ = 0;
    std::string receivedModel_;
    std::array<uint8_t, 29 * kBlockSize> readBuffer_{};
    std::array<uint8_t, kImageSize> image_{}; // the write's copy of the image
    std::array<uint8_t, kWriteBlocks * kBlockSize> sent_{};
    bool running_ = false;
    bool failedSinceStart_ = false; // a failure was reported since the last Start
    bool readSucceeded_ = false;
    bool okEnabled_ = true;
    bool lineErrorPending_ = false;
    int refusedBlock_ = -1;
    uint8_t refusedReply_ = 0;
    int progress_ = 0;
};
