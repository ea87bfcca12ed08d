// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/SharedLoop.h"

#include <algorithm>

using Clock = std::chrono::steady_clock;

TSharedLoopClock::TSharedLoopClock(TLinkClock& clock) : clock_(clock) {}

TSharedLoopClock::~TSharedLoopClock() = default;

void TSharedLoopClock::Schedule(uint64_t id, int ms, std::function<void()> fired)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(pauseEnd_ - Clock::now()).count();
    timers_[id] = clock_.Start(ms + static_cast<int>(std::max<long long>(0, left)),
                               [this, id, fired = std::move(fired)] {
                                   // The handle below is dropped before the call, which may start this
                                   // timer's successor.
                                   std::function<void()> call = fired;
                                   timers_.erase(id);
                                   call();
                               });
}

void TSharedLoopClock::Wait(int ms)
{
    if (ms >= kLongestPause)
        return;
    pauseEnd_ = std::max(pauseEnd_, Clock::now()) + std::chrono::milliseconds(ms);
}

TSharedLoopPort::TSharedLoopPort(TSerialPort& port, TSharedLoopClock& clock, PostAfter post)
    : port_(port), clock_(clock), post_(std::move(post))
{
    port_.SetListener(this);
}

TSharedLoopPort::~TSharedLoopPort()
{
    *alive_ = false;
    if (port_.Listener() == this)
        port_.SetListener(nullptr);
}

bool TSharedLoopPort::Open(int portNumber, int baudRate)
{
    held_.clear();
    failed_ = false;
    return port_.Open(portNumber, baudRate);
}

void TSharedLoopPort::Close()
{
    held_.clear();
    port_.Close();
}

bool TSharedLoopPort::FlushOutput()
{
    held_.clear();
    return port_.FlushOutput();
}

bool TSharedLoopPort::Write(const uint8_t* bytes, size_t count)
{
    if (!port_.IsOpen() || failed_)
        return false;
    const Clock::time_point due = clock_.PauseEnd();
    const Clock::time_point now = Clock::now();
    if (held_.empty() && due <= now)
        return port_.Write(bytes, count);
    held_.push_back({std::max(due, held_.empty() ? due : held_.back().due), {bytes, bytes + count}});
    if (held_.size() == 1) {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(held_.front().due - now).count();
        post_(static_cast<int>(std::max<long long>(0, wait)), [this, alive = alive_] {
            if (*alive)
                SendDue();
        });
    }
    return true;
}

// Sends the held bytes whose pause has ended, and waits for the next.
void TSharedLoopPort::SendDue()
{
    const Clock::time_point now = Clock::now();
    while (!held_.empty() && held_.front().due <= now) {
        Held h = std::move(held_.front());
        held_.pop_front();
        if (!port_.Write(h.bytes.data(), h.bytes.size())) {
            held_.clear();
            myPortTriggerLineError();
            return;
        }
    }
    if (held_.empty())
        return;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(held_.front().due - now).count();
    post_(static_cast<int>(std::max<long long>(0, wait)), [this, alive = alive_] {
        if (*alive)
            SendDue();
    });
}

void TSharedLoopPort::myPortTrigger(size_t n)
{
    if (Listener())
        Listener()->myPortTrigger(n);
}

void TSharedLoopPort::myPortTriggerLineError()
{
    if (Listener())
        Listener()->myPortTriggerLineError();
}
