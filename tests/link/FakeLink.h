// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A serial port, a clock and a radio made of script, so the link runs in a
// test without a device and without real time passing. The clock keeps a
// list of things that happen at given times (timers, replies arriving,
// line errors) and Run() plays them in order, as the event loop would.
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "link/LinkClock.h"
#include "link/RadioLink.h"
#include "link/SerialPort.h"

using Bytes = std::vector<uint8_t>;

class FakeClock : public TLinkClock {
public:
    long now = 0;
    std::vector<int> waits; // every blocking wait, in order

    void Wait(int ms) override;
    long WaitedInTotal() const;

    // Runs `action` at `time` (not before now).
    void At(long time, std::function<void()> action);
    // Plays timers and scheduled actions in time order until `done` says
    // so, nothing is left, or `limitMs` of fake time have passed. True
    // when `done` ended it.
    bool Run(const std::function<bool()>& done, long limitMs = 60000);

protected:
    void Schedule(uint64_t id, int ms, std::function<void()> fired) override;
    void Cancel(uint64_t id) override { timers_.erase(id); }

private:
    struct Timer {
        long due;
        std::function<void()> fired;
    };
    std::map<uint64_t, Timer> timers_; // by id: at one moment, in the order started
    std::multimap<long, std::function<void()>> actions_;
};

struct SentFrame {
    long time;
    Bytes bytes;
};

class FakePort : public TSerialPort {
public:
    explicit FakePort(FakeClock& clock) : clock_(clock) {}

    bool openFails = false;
    bool openInUse = false; // an Open that fails finds the port held by another program
    bool flushFails = false;
    bool writeFails = false;
    int queuedPollsAfterWrite = 0; // TransmitQueueCount stays non-zero this many calls
    bool open = false;
    int openedNumber = 0;
    int openedBaud = 0;
    int opens = 0;
    int closes = 0;
    int flushes = 0;
    std::vector<SentFrame> sent;
    std::function<void(const Bytes&)> onWrite; // the radio listens here

    bool Open(int portNumber, int baudRate) override;
    void FollowDevice(const std::string& path) override { followed = path; }
    bool OpenFailedInUse() const override { return openFails && openInUse; }
    std::string followed;
    void Close() override;
    bool IsOpen() const override { return open; }
    bool FlushInput() override;
    bool FlushOutput() override;
    bool Write(const uint8_t* bytes, size_t count) override;
    size_t TransmitQueueCount() override;
    bool ByteReady() override { return !input_.empty(); }
    uint8_t ReadByte() override;

    // Bytes that reach the port `delayMs` from now, announced in one
    // notification.
    void Arrive(const Bytes& bytes, long delayMs);
    void LineErrorAt(long time);

private:
    FakeClock& clock_;
    std::deque<uint8_t> input_;
    int queued_ = 0;
};

// A radio that answers like the real one, with a hook to spoil any reply.
class FakeRadio {
public:
    FakeRadio(FakePort& port, std::string modelCode = "QV30");

    std::string modelCode;
    std::array<uint8_t, 0x1C0> memory{};
    long replyDelayMs = 5;
    bool sessionEnded = false;
    int writesReceived = 0;
    // Called with each frame and the reply the radio would give; it may
    // change the reply, or return false to stay silent.
    std::function<bool(const Bytes& frame, Bytes& reply)> tamper;

private:
    void OnFrame(const Bytes& frame);
    FakePort& port_;
    uint8_t tag_ = 0;
};

class FakeLinkView : public TLinkView {
public:
    int progress = -1;
    int maximum = -1;
    bool okEnabled = true;
    int closes = 0;
    std::vector<std::string> log;
    void ShowProgress(int position, int max) override { progress = position, maximum = max; }
    void EnableOk(bool enabled) override { okEnabled = enabled; }
    void ClearLog() override { log.clear(); }
    void LogLine(const std::string& line) override { log.push_back(line); }
    void CloseWindow() override { ++closes; }
    // Every outcome, and its message shown as the windows show it after
    // they took it up here.
    std::vector<LinkOutcome> outcomes;
    std::function<void(const LinkOutcome&)> onOutcome;
    void Finished(const LinkOutcome& outcome) override
    {
        outcomes.push_back(outcome);
        if (onOutcome)
            onOutcome(outcome);
        ShowOutcome(outcome);
    }
};

// A short name of a sent frame ("PROGRAM63", "identify", "R0010", "ack"),
// for comparing whole exchanges.
std::string Describe(const Bytes& frame);
