// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One port's engines on an event loop that other ports share. The engines
// pause for short whiles before they send (before a frame, after a flush),
// and a pause that blocks the thread would hold up every other port's
// exchange. Here a pause blocks nothing: it moves the next bytes the engine
// sends later by as long, so the radio sees the same gaps while the loop
// goes on serving the other ports; timers started after a pause count from
// its end as well. A pause before a failure is shown only
// delays a window nobody watches in a fleet, and is left out.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "link/LinkClock.h"
#include "link/SerialPort.h"

// Calls `action` from the event loop `ms` from now.
using PostAfter = std::function<void(int ms, std::function<void()> action)>;

class TSharedLoopClock : public TLinkClock {
public:
    explicit TSharedLoopClock(TLinkClock& clock);
    ~TSharedLoopClock() override;
    void Wait(int ms) override;

    // The moment the pauses asked for so far end.
    std::chrono::steady_clock::time_point PauseEnd() const { return pauseEnd_; }
    static constexpr int kLongestPause = 1000; // pauses this long or longer are left out

protected:
    // A timer started after a pause runs from the pause's end, as it would
    // have after a pause that blocked.
    void Schedule(uint64_t id, int ms, std::function<void()> fired) override;
    void Cancel(uint64_t id) override { timers_.erase(id); }

private:
    TLinkClock& clock_;
    std::chrono::steady_clock::time_point pauseEnd_{};
    std::map<uint64_t, TLinkTimer> timers_; // on the clock below
};

class TSharedLoopPort : public TSerialPort, private TPortListener {
public:
    TSharedLoopPort(TSerialPort& port, TSharedLoopClock& clock, PostAfter post);
    ~TSharedLoopPort() override;
    bool Open(int portNumber, int baudRate) override;
    void FollowDevice(const std::string& path) override { port_.FollowDevice(path); }
    bool OpenFailedInUse() const override { return port_.OpenFailedInUse(); }
    void Close() override;
    bool IsOpen() const override { return port_.IsOpen(); }
    bool FlushInput() override { return port_.FlushInput(); }
    bool FlushOutput() override;
    // Sends at once, or queues the bytes until the pause before them ends.
    bool Write(const uint8_t* bytes, size_t count) override;
    // What the device has not sent yet; bytes still held for a pause are
    // not counted, so nobody waits for them.
    size_t TransmitQueueCount() override { return port_.TransmitQueueCount(); }
    bool ByteReady() override { return port_.ByteReady(); }
    uint8_t ReadByte() override { return port_.ReadByte(); }

private:
    void myPortTrigger(size_t n) override;
    void myPortTriggerLineError() override;
    void SendDue();
    TSerialPort& port_;
    TSharedLoopClock& clock_;
    PostAfter post_;
    struct Held {
        std::chrono::steady_clock::time_point due;
        std::vector<uint8_t> bytes;
    };
    std::deque<Held> held_;
    bool failed_ = false; // a held write the device refused
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
