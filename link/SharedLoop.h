// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One port's engines on an event loop that other ports share. The engines
// block for short pauses (before a frame, after a flush), and a blocking
// pause on one port would hold up every other port's exchange. Here a pause
// runs the event loop instead, so the other ports go on, while this port's
// own timers and received bytes are held back and handed over after the
// pause, as the engine expects of a pause.
//
// The clock and the port stand between the engine and the real clock and
// port. The event loop is reached through two functions: run the loop for
// a while, and call something once the current handler has returned.
#include <cstddef>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "link/LinkClock.h"
#include "link/SerialPort.h"

struct LoopHooks {
    std::function<void(int ms)> runFor;           // runs the event loop for ms
    std::function<void(std::function<void()>)> post; // calls it from the loop, soon
};

class TSharedLoopClock : public TLinkClock, private TLinkTimerListener {
public:
    TSharedLoopClock(TLinkClock& clock, LoopHooks hooks);
    ~TSharedLoopClock() override;
    void Start(LinkTimer timer, int ms) override;
    void Stop(LinkTimer timer) override;
    // Pauses as long as most: a pause only makes a window wait before it
    // shows a failure (nobody watches a fleet's window) is left out.
    void Wait(int ms) override;

    bool Pausing() const { return pausing_ > 0; }
    // Runs `action` now, or after the pause when one is in progress.
    void AfterPause(std::function<void()> action);

    // Pauses this long or longer are skipped.
    static constexpr int kLongestPause = 1000;

private:
    void TimerFired(LinkTimer timer) override;
    TLinkClock& clock_;
    LoopHooks hooks_;
    int pausing_ = 0;
    std::set<LinkTimer> held_; // fired during the pause
    std::vector<std::function<void()>> after_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

class TSharedLoopPort : public TSerialPort, private TPortListener {
public:
    TSharedLoopPort(TSerialPort& port, TSharedLoopClock& clock);
    ~TSharedLoopPort() override;
    bool Open(int portNumber, int baudRate) override { return port_.Open(portNumber, baudRate); }
    void Close() override { port_.Close(); }
    bool IsOpen() const override { return port_.IsOpen(); }
    bool FlushInput() override { return port_.FlushInput(); }
    bool FlushOutput() override { return port_.FlushOutput(); }
    bool Write(const uint8_t* bytes, size_t count) override { return port_.Write(bytes, count); }
    size_t TransmitQueueCount() override { return port_.TransmitQueueCount(); }
    bool ByteReady() override { return port_.ByteReady(); }
    uint8_t ReadByte() override { return port_.ReadByte(); }

private:
    void myPortTrigger(size_t n) override;
    void myPortTriggerLineError() override;
    TSerialPort& port_;
    TSharedLoopClock& clock_;
};
