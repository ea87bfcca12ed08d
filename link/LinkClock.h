// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The timers and the blocking waits of the link. The program's clock runs on
// Qt timers and sleeps; the tests use a clock that only counts.
//
// Whoever needs a timer starts it and keeps the handle: an engine, a safe
// write and a fleet port on one clock each own their timers, and none can
// stop another's.
#include <cstdint>
#include <functional>

class TLinkClock;

// A one-shot timer that has been started. Stopping it, starting another in
// its place or dropping it means it does not fire; all of that is harmless
// once it has fired. The clock must outlive it.
class TLinkTimer {
public:
    TLinkTimer() = default;
    ~TLinkTimer() { Stop(); }
    TLinkTimer(TLinkTimer&& other) noexcept : clock_(other.clock_), id_(other.id_) { other.clock_ = nullptr; }
    TLinkTimer& operator=(TLinkTimer&& other) noexcept;
    TLinkTimer(const TLinkTimer&) = delete;
    TLinkTimer& operator=(const TLinkTimer&) = delete;
    void Stop();

private:
    friend class TLinkClock;
    TLinkTimer(TLinkClock* clock, uint64_t id) : clock_(clock), id_(id) {}
    TLinkClock* clock_ = nullptr;
    uint64_t id_ = 0;
};

class TLinkClock {
public:
    virtual ~TLinkClock() = default;
    // Starts a timer: `fired` runs once, `ms` from now, on the
    // user-interface thread, unless the handle stops it first.
    [[nodiscard]] TLinkTimer Start(int ms, std::function<void()> fired)
    {
        const uint64_t id = ++lastId_;
        Schedule(id, ms, std::move(fired));
        return TLinkTimer(this, id);
    }
    // Blocks the thread for `ms`: no timer fires and no port notification is
    // delivered meanwhile; bytes that arrive are announced afterwards.
    virtual void Wait(int ms) = 0;

protected:
    friend class TLinkTimer;
    // The clocks themselves: run `fired` once after `ms` unless cancelled.
    // A clock lets go of `fired` before it calls it, so the call may start
    // or stop any timer. Cancelling a timer that has fired does nothing.
    virtual void Schedule(uint64_t id, int ms, std::function<void()> fired) = 0;
    virtual void Cancel(uint64_t id) = 0;

private:
    uint64_t lastId_ = 0;
};

inline void TLinkTimer::Stop()
{
    if (clock_)
        clock_->Cancel(id_);
    clock_ = nullptr;
}

inline TLinkTimer& TLinkTimer::operator=(TLinkTimer&& other) noexcept
{
    if (this != &other) {
        Stop();
        clock_ = other.clock_;
        id_ = other.id_;
        other.clock_ = nullptr;
    }
    return *this;
}
