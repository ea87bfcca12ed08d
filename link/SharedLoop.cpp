// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/SharedLoop.h"

TSharedLoopClock::TSharedLoopClock(TLinkClock& clock, LoopHooks hooks) : clock_(clock), hooks_(std::move(hooks))
{
    clock_.SetListener(this);
}

TSharedLoopClock::~TSharedLoopClock()
{
    *alive_ = false;
    if (clock_.Listener() == this)
        clock_.SetListener(nullptr);
}

void TSharedLoopClock::Start(LinkTimer timer, int ms)
{
    held_.erase(timer);
    clock_.Start(timer, ms);
}

void TSharedLoopClock::Stop(LinkTimer timer)
{
    held_.erase(timer);
    clock_.Stop(timer);
}

void TSharedLoopClock::Wait(int ms)
{
    if (ms >= kLongestPause)
        return;
    ++pausing_;
    hooks_.runFor(ms);
    if (--pausing_ > 0 || (held_.empty() && after_.empty()))
        return;
    // What came during the pause is handed over once the engine's handler
    // that paused has returned.
    hooks_.post([this, alive = alive_] {
        if (!*alive || pausing_ > 0)
            return;
        std::set<LinkTimer> held;
        held.swap(held_);
        std::vector<std::function<void()>> after;
        after.swap(after_);
        for (auto& action : after)
            action();
        for (LinkTimer timer : held)
            if (Listener())
                Listener()->TimerFired(timer);
    });
}

void TSharedLoopClock::AfterPause(std::function<void()> action)
{
    if (pausing_ > 0)
        after_.push_back(std::move(action));
    else
        action();
}

void TSharedLoopClock::TimerFired(LinkTimer timer)
{
    if (pausing_ > 0) {
        held_.insert(timer);
        return;
    }
    if (Listener())
        Listener()->TimerFired(timer);
}

TSharedLoopPort::TSharedLoopPort(TSerialPort& port, TSharedLoopClock& clock) : port_(port), clock_(clock)
{
    port_.SetListener(this);
}

TSharedLoopPort::~TSharedLoopPort()
{
    if (port_.Listener() == this)
        port_.SetListener(nullptr);
}

void TSharedLoopPort::myPortTrigger(size_t n)
{
    clock_.AfterPause([this, n] {
        if (Listener() && port_.ByteReady())
            Listener()->myPortTrigger(n);
    });
}

void TSharedLoopPort::myPortTriggerLineError()
{
    clock_.AfterPause([this] {
        if (Listener())
            Listener()->myPortTriggerLineError();
    });
}
