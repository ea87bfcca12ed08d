// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The line test of the connection doctor: opens the chosen port at 4800
// baud 8N2, sends the wake-up frame and the program request exactly as a
// read does, and listens to what comes back. A radio that acknowledges is
// asked for its identification, as a read does next, so that another radio
// (a wrong tag or an unknown model) is told apart from ours. Then the probe
// ends the session with the end frame, so the radio is ready for the next
// program at once.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/Doctor.h"
#include "link/LinkClock.h"
#include "link/LinkFrames.h"
#include "link/SerialPort.h"

enum class ProbeResult {
    Ready,      // 06 came back: a radio answered
    Silent,     // nothing came back
    Echo,       // only our own bytes came back: a cable without a radio
    OtherBytes, // something else came back
    OpenFailed, // the port did not open
    WrongTag,   // it acknowledged, but its identification lacks the exchanged tag
    OtherModel, // it identified itself as a model outside the catalogue
    NoIdent,    // it acknowledged, but did not answer the identify request
};

struct ProbeOutcome {
    ProbeResult result = ProbeResult::Silent;
    std::vector<uint8_t> received;   // every byte, in order
    std::vector<uint8_t> foreign;    // the bytes that were not an echo of ours
    bool echoed = false;             // the cable echoed our bytes
    std::vector<uint8_t> identReply; // the identification reply, when one came
};

// Sorts what came back after `sent` went out.
ProbeOutcome InterpretReply(const std::vector<uint8_t>& sent, const std::vector<uint8_t>& received);
// Judges the identification reply of a radio that acknowledged with `tag`,
// as a read does: the exchanged tag first, then the model code.
void InterpretIdentReply(ProbeOutcome& outcome, uint8_t tag, const std::vector<uint8_t>& reply);
// The finding for the user; `portLabel` names the port ("COM1 (/dev/ttyUSB0)").
Finding ProbeFinding(const ProbeOutcome& outcome, const std::string& portLabel);
// Adds the line's finding to the report. A port that reaches the radio is
// the verdict: what the report says about USB devices then stays only as
// information.
void AddProbeFinding(DoctorReport& report, const ProbeOutcome& outcome, const std::string& portLabel);
// "06 00 FF".
std::string HexBytes(const std::vector<uint8_t>& bytes);

class TLineProbe : public TPortListener {
public:
    // Becomes the listener of the port; port and clock must outlive it.
    TLineProbe(TSerialPort& port, TLinkClock& clock);
    ~TLineProbe() override;
    TLineProbe(const TLineProbe&) = delete;
    TLineProbe& operator=(const TLineProbe&) = delete;

    // Opens COM`portNumber` and sends the frames; `done` is called once with
    // the outcome (from within Start when the port does not open). The port
    // is closed before `done` is called.
    void Start(int portNumber, std::function<void(const ProbeOutcome&)> done);
    bool Done() const { return done_; }
    const ProbeOutcome& Outcome() const { return outcome_; }

    void myPortTrigger(size_t n) override;
    void myPortTriggerLineError() override;

    // How long the radio has to answer the program request, and how long the
    // probe listens on after an answer for bytes that follow it.
    static constexpr int kAnswerTimeMs = 1500;
    static constexpr int kSettleMs = 150;

private:
    void TimerFired(LinkTimer timer);
    void Arm(LinkTimer timer, int ms);
    void StopTimers();
    bool Send(const uint8_t* bytes, size_t count);
    void AskIdentification();
    // The bytes after the identify request, without its echo.
    std::vector<uint8_t> IdentReply() const;
    void Finish();

    TSerialPort& port_;
    TLinkClock& clock_;
    // The wake-up, answer and settle timers, by the engine's names.
    std::array<TLinkTimer, 3> timers_;
    std::function<void(const ProbeOutcome&)> onDone_;
    std::vector<uint8_t> sent_;
    std::vector<uint8_t> received_;
    int portNumber_ = 0;
    bool requestSent_ = false;
    size_t heardBeforeRequest_ = 0;
    uint8_t tag_ = 0;
    bool identSent_ = false;
    bool echoes_ = false; // the cable echoed the frames before the identify request
    size_t sentBeforeIdent_ = 0;
    size_t heardBeforeIdent_ = 0;
    bool done_ = true;
    ProbeOutcome outcome_;
};
