// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FleetTexts.h"

#include <array>

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

std::string Fill(const std::string& text, const std::vector<std::string>& args)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            size_t n = static_cast<size_t>(text[i + 1] - '1');
            if (n < args.size())
                out += args[n];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}
} // namespace

std::span<const SafeTextKey> FleetTextKeys()
{
    return kTexts;
}

std::string FleetText(const std::string& key, const std::vector<std::string>& args)
{
    for (const SafeTextKey& t : kTexts)
        if (key == t.key)
            return Fill(LanguageFileText(kFleetSection, key, t.english), args);
    return Fill(key, args);
}
