// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "tools/radio-sim/LinePacer.h"

using namespace std::chrono_literals;

namespace {
double Milliseconds(SimTime t)
{
    return std::chrono::duration<double, std::milli>(t).count();
}
}

TEST(LinePacer, SpendsElevenBitTimesAt4800BaudOnEveryByte)
{
    LinePacer line(kByteTimeAt4800);
    const SimTime start = 1s;
    std::vector<SimTime> done = line.Schedule(20, start);
    ASSERT_EQ(done.size(), 20u);
    // A 20-byte reply occupies the line for about 46 ms.
    EXPECT_NEAR(Milliseconds(done.back() - start), 45.83, 0.01);
    EXPECT_NEAR(Milliseconds(done[0] - start), 2.2917, 0.0001);

    // Bytes handed over while the line is busy wait their turn; once the
    // line is free again they start at once.
    std::vector<SimTime> queued = line.Schedule(1, start + 1ms);
    EXPECT_EQ(queued.at(0), done.back() + kByteTimeAt4800);
    std::vector<SimTime> later = line.Schedule(2, start + 1s);
    EXPECT_EQ(later.at(1), start + 1s + 2 * kByteTimeAt4800);
}

TEST(LinePacer, WithoutPacingEveryByteCrossesAtOnce)
{
    LinePacer line(SimTime{});
    for (SimTime t : line.Schedule(8, 5ms))
        EXPECT_EQ(t, 5ms);
    EXPECT_TRUE(line.Schedule(0, 6ms).empty());
}
