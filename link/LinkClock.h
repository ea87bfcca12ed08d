// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The timers and the blocking waits of the link. The program's clock runs on
// Qt timers and sleeps; the tests use a clock that only counts.
#include <cstddef>

// The one-shot timers of the read and write windows. NextPhase belongs to
// the safe write, which moves from one exchange to the next on it;
// FleetRetry to the fleet write, which looks for the next radio on it.
enum class LinkTimer { xTimer, HeadTime, TryTime, CloseTime, cxBack, NextPhase, FleetRetry };
inline constexpr size_t kLinkTimerCount = 7;

class TLinkTimerListener {
public:
    virtual ~TLinkTimerListener() = default;
    virtual void TimerFired(LinkTimer timer) = 0;
};

class TLinkClock {
public:
    virtual ~TLinkClock() = default;
    // (Re)starts the timer: it fires once, `ms` from now, on the
    // user-interface thread, by calling the listener's TimerFired.
    virtual void Start(LinkTimer timer, int ms) = 0;
    // Harmless when the timer is not running.
    virtual void Stop(LinkTimer timer) = 0;
    // Blocks the thread for `ms`: no timer fires and no port notification is
    // delivered meanwhile; bytes that arrive are announced afterwards.
    virtual void Wait(int ms) = 0;

    void SetListener(TLinkTimerListener* listener) { listener_ = listener; }
    TLinkTimerListener* Listener() const { return listener_; }

private:
    TLinkTimerListener* listener_ = nullptr;
};
