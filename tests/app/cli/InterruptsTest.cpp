// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <csignal>

#include "app/cli/Interrupts.h"

namespace {
volatile std::sig_atomic_t caught = 0;
void Count(int)
{
    caught = caught + 1;
}
}

// A second Ctrl+C must reach the program too (it stops a write at once),
// never the system's default that ends the process.
TEST(Interrupts, EveryCtrlCAndPoliteKillIsCounted)
{
    CatchInterrupts(Count);
    std::raise(SIGINT);
    std::raise(SIGINT);
    std::raise(SIGTERM);
    EXPECT_EQ(caught, 3);
}
