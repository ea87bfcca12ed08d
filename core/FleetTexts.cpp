// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FleetTexts.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {
constexpr auto kTexts = std::to_array<SafeTextKey>({
    // The state of a port.
    {"StateIdle", "idle"},
    {"StateWaiting", "waiting for a radio"},
    {"StateBackingUp", "backing up"},
    {"StateWriting", "writing %1/25"},
    {"StateVerifying", "verifying"},
    {"StateDone", "done (%1, %2 s)"},
    {"StateFailed", "failed (%1)"},
    {"StateAlreadyDone", "serial number %1 is done already: take it off"},
    // The record and the summary.
    {"ResultVerified", "verified"},
    {"ResultWritten", "written"},
    {"ResultFailed", "failed"},
    {"RadioLine", "%1: serial number %2, %3, %4 s"},
    {"Summary", "%1 written, %2 verified, %3 failed"},
    {"LogNotWritable", "The log %1 cannot be written: %2. No radio was written."},
    {"PortNotOpened", "%1: %2"},
    // The window.
    {"Title", "Fleet Write"},
    {"ColumnUse", "Use"},
    {"ColumnPort", "Port"},
    {"ColumnDevice", "Device"},
    {"ColumnState", "State"},
    {"HandsFree", "Hands-free: write each radio plugged in"},
    {"RewriteDone", "Write a radio again when its serial number is done already"},
    {"Start", "Start"},
    {"Stop", "Stop"},
    {"OpenLogFolder", "Open Log Folder"},
    {"Backup", "Back up each radio before writing"},
    {"Verify", "Read back and verify after writing"},
    {"LogHeading", "Radios done in this run:"},
    {"Close", "Close"},
});

TSectionTexts& Texts()
{
    static TSectionTexts texts(kFleetSection, kTexts);
    return texts;
}
} // namespace

std::span<const SafeTextKey> FleetTextKeys()
{
    return kTexts;
}

std::string FleetText(const std::string& key, const std::vector<std::string>& args)
{
    return Texts().Text(key, args);
}

std::string RadioResultLine(const std::string& portName, const FleetRecord& r)
{
    std::string result = FleetText(r.result == FleetResult::Verified  ? "ResultVerified"
                                   : r.result == FleetResult::Written ? "ResultWritten"
                                                                      : "ResultFailed");
    if (r.result == FleetResult::Failed) {
        std::string message = r.message;
        std::replace(message.begin(), message.end(), '\n', ' ');
        result += " (" + message + ")";
    }
    const std::string serial = r.serial.empty() ? SafeText("NoSerial") : r.serial;
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", r.seconds);
    return FleetText("RadioLine", {portName, serial, result, seconds});
}
