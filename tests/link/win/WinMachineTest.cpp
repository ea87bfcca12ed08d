// SPDX-License-Identifier: GPL-3.0-or-later
// The doctor's view of this Windows machine: why a port does not open, as
// the system's own calls tell it. (The view over a mapped COM port with the
// simulated radio behind it is run by tests/windows/cli.sh.)
#include <windows.h>

#include <fstream>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/win/WideText.h"
#include "link/win/WinMachine.h"

namespace {

TEST(WinMachine, APortMissingHeldOrNoPortAtAll)
{
    TWinMachine machine;
    OpenTry open = machine.TryOpen("COM199");
    EXPECT_EQ(open.result, OpenResult::Missing) << open.error;

    // A file opens, but it has no line settings: it is no port.
    TempDir dir;
    const std::string file = dir.file("not-a-port");
    std::ofstream(file) << "x";
    open = machine.TryOpen(file);
    EXPECT_EQ(open.result, OpenResult::Failed);
    EXPECT_NE(open.error, 0u);

    // Held by another without sharing, as a program holds a COM port.
    HANDLE held = CreateFileW(WideFromUtf8(file).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    open = machine.TryOpen(file);
    CloseHandle(held);
    EXPECT_EQ(open.result, OpenResult::InUse) << open.error;
}

} // namespace
