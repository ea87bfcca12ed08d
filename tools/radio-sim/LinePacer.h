// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The time a serial line takes: one direction of a line moves one byte at a
// time, each taking the same time, and a byte cannot start before the one
// ahead of it has gone.
#include <chrono>
#include <cstddef>
#include <vector>

#include "tools/radio-sim/SimulatedRadio.h"

// 4800 baud with a start bit, 8 data bits and 2 stop bits: 11 bit times.
inline constexpr SimTime kByteTimeAt4800 = SimTime(11LL * 1'000'000'000 / 4800);

class LinePacer {
public:
    // A byte time of zero makes every byte cross at once.
    explicit LinePacer(SimTime byteTime) : byteTime_(byteTime) {}

    // When each of `count` bytes handed to the line at `now` has fully
    // crossed it, in order.
    std::vector<SimTime> Schedule(size_t count, SimTime now);

private:
    SimTime byteTime_;
    SimTime lineFreeAt_{};
};
