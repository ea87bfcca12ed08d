// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeLink.h"

#include <algorithm>
#include <cstdio>

#include "link/IdentBlock.h"
#include "link/LinkFrames.h"

void FakeClock::Schedule(uint64_t id, int ms, std::function<void()> fired)
{
    timers_[id] = Timer{now + ms, std::move(fired)};
}

void FakeClock::Wait(int ms)
{
    waits.push_back(ms);
    now += ms;
}

long FakeClock::WaitedInTotal() const
{
    long total = 0;
    for (int w : waits)
        total += w;
    return total;
}

void FakeClock::At(long time, std::function<void()> action)
{
    actions_.emplace(std::max(time, now), std::move(action));
}

bool FakeClock::Run(const std::function<bool()>& done, long limitMs)
{
    const long limit = now + limitMs;
    while (!done()) {
        std::optional<long> timerTime;
        uint64_t timer = 0;
        for (const auto& [id, t] : timers_)
            if (!timerTime || t.due < *timerTime)
                timerTime = t.due, timer = id;
        bool haveAction = !actions_.empty();
        if (!timerTime && !haveAction)
            return false;
        // A reply that arrives at the same moment as a time-out is seen first.
        if (haveAction && (!timerTime || actions_.begin()->first <= *timerTime)) {
            auto it = actions_.begin();
            if (it->first > limit)
                return false;
            now = std::max(now, it->first);
            std::function<void()> action = std::move(it->second);
            actions_.erase(it);
            action();
        } else {
            if (*timerTime > limit)
                return false;
            now = std::max(now, *timerTime);
            std::function<void()> fired = std::move(timers_[timer].fired);
            timers_.erase(timer);
            fired();
        }
    }
    return true;
}

bool FakePort::Open(int portNumber, int baudRate)
{
    ++opens;
    openedNumber = portNumber;
    openedBaud = baudRate;
    open = !openFails;
    return open;
}

void FakePort::Close()
{
    ++closes;
    open = false;
}

bool FakePort::FlushInput()
{
    ++flushes;
    input_.clear();
    return !(open && flushFails);
}

bool FakePort::FlushOutput()
{
    ++flushes;
    queued_ = 0;
    return !(open && flushFails);
}

bool FakePort::Write(const uint8_t* bytes, size_t count)
{
    if (!open || writeFails)
        return false;
    Bytes frame(bytes, bytes + count);
    sent.push_back({clock_.now, frame});
    queued_ = queuedPollsAfterWrite;
    if (onWrite)
        onWrite(frame);
    return true;
}

size_t FakePort::TransmitQueueCount()
{
    if (!open || queued_ <= 0)
        return 0;
    --queued_;
    return 1;
}

uint8_t FakePort::ReadByte()
{
    if (input_.empty())
        return 0;
    uint8_t b = input_.front();
    input_.pop_front();
    return b;
}

void FakePort::Arrive(const Bytes& bytes, long delayMs)
{
    clock_.At(clock_.now + delayMs, [this, bytes] {
        if (!open)
            return;
        input_.insert(input_.end(), bytes.begin(), bytes.end());
        if (Listener())
            Listener()->myPortTrigger(input_.size());
    });
}

void FakePort::LineErrorAt(long time)
{
    clock_.At(time, [this] {
        if (Listener())
            Listener()->myPortTriggerLineError();
    });
}

FakeRadio::FakeRadio(FakePort& port, std::string code) : modelCode(std::move(code)), port_(port)
{
    for (size_t i = 0; i < memory.size(); ++i)
        memory[i] = static_cast<uint8_t>(i * 7 + 3);
    port_.onWrite = [this](const Bytes& frame) { OnFrame(frame); };
}

void FakeRadio::OnFrame(const Bytes& frame)
{
    Bytes reply;
    // The wake-up frame looks like a program request for COM1 ("PROGRAMa").
    if (frame.size() == kProgramRequestLength &&
        std::equal(kProgramRequestPrefix.begin(), kProgramRequestPrefix.end(), frame.begin())) {
        tag_ = frame.back();
        sessionEnded = false;
        reply = {kAck};
    } else if (frame == Bytes{kIdentifyRequest}) {
        reply.assign(16, 0x20);
        reply[0] = 'I';
        std::copy(modelCode.begin(), modelCode.begin() + std::min<size_t>(4, modelCode.size()), reply.begin() + 1);
        reply[6] = ExchangedTag(tag_);
    } else if (frame.size() == 16) {
        IdentBlock block;
        std::copy(frame.begin(), frame.end(), block.begin());
        reply = {IdentResponse(block)};
    } else if (frame == Bytes{kAck}) {
        reply = {kAck};
    } else if (frame.size() == 4 && frame[0] == kReadCommand) {
        size_t address = (size_t(frame[1]) << 8) | frame[2];
        reply = {frame[0], frame[1], frame[2], frame[3]};
        for (size_t i = 0; i < 16; ++i)
            reply.push_back(address + i < memory.size() ? memory[address + i] : 0xFF);
    } else if (frame.size() == kWriteRequestLength && frame[0] == kWriteCommand) {
        size_t address = (size_t(frame[1]) << 8) | frame[2];
        for (size_t i = 0; i < 16 && address + i < memory.size(); ++i)
            memory[address + i] = frame[4 + i];
        ++writesReceived;
        reply = {kAck};
    } else if (frame == Bytes{kEndFrame}) {
        sessionEnded = true;
        return;
    } else {
        return;
    }
    if (tamper && !tamper(frame, reply))
        return;
    port_.Arrive(reply, replyDelayMs);
}

std::string Describe(const Bytes& frame)
{
    char buf[16];
    if (frame.size() == kProgramRequestLength &&
        std::equal(kProgramRequestPrefix.begin(), kProgramRequestPrefix.end(), frame.begin())) {
        std::snprintf(buf, sizeof buf, "PROGRAM%02X", frame.back());
        return buf;
    }
    if (frame == Bytes{kIdentifyRequest})
        return "identify";
    if (frame.size() == 16)
        return "ident-block";
    if (frame == Bytes{kAck})
        return "ack";
    if (frame == Bytes{kEndFrame})
        return "end";
    if (frame.size() >= 4 && (frame[0] == kReadCommand || frame[0] == kWriteCommand)) {
        std::snprintf(buf, sizeof buf, "%c%02X%02X", frame[0], frame[1], frame[2]);
        return buf;
    }
    return "?";
}
