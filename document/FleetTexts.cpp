// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/FleetTexts.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>

#include "base/ShellQuote.h"
#include "base/Utf8Path.h"
#include "document/SafeTexts.h"

namespace {
constexpr auto kTexts = std::to_array<TextKey>({
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
    {"ResultWithReason", "%1 (%2)"},
    {"LogFolderNotShown", "No file manager could show the log folder. The logs are in: %1"},
    {"Summary", "%1 written, %2 verified, %3 failed"},
    {"LogNotWritable", "The log %1 cannot be written: %2. No radio was written."},
    {"PortNotOpened", "%1: %2"},
    // The window.
    {"Title", "Fleet Write"},
    {"ColumnUse", "Use"},
    {"ColumnPort", "Port"},
    {"ColumnDevice", "Device"},
    {"ColumnState", "State"},
    {"HandsFree", "&Hands-free: write each radio plugged in"},
    {"RewriteDone", "Write a radio &again when its serial number is done already"},
    {"Start", "&Start"},
    {"Stop", "S&top"},
    {"OpenLogFolder", "&Open Log Folder"},
    {"Backup", "&Back up each radio before writing"},
    {"Verify", "Read back and &verify after writing"},
    {"LogHeading", "Radios &done in this run:"},
    {"PortsName", "Ports"},
    {"Close", "&Close"},
    // The preview, the blind write, the interrupt and closing mid-run.
    {"RadioNamed", "%1 (serial number %2)"},
    {"PreviewFor", "The preview for %1:"},
    {"BlindQuestion",
     "%1 radios will be written without a backup: no preview of the changes can be shown, and nothing can put them back. Write them?"},
    {"BlindQuestionWatch",
     "Every radio plugged into the %1 ports will be written without a backup: no preview of the changes can be shown, and nothing can put them back. Write them?"},
    {"ResultInterrupted", "interrupted"},
    {"InterruptedUnchanged", "interrupted before writing: the radio is unchanged"},
    {"InterruptedWriting", "interrupted while writing: the radio holds part of the document"},
    {"InterruptedVerifying", "interrupted while verifying: written, not verified"},
    {"SummaryInterrupted", "%1 written, %2 verified, %3 failed, %4 interrupted"},
    {"Stopping",
     "Stopping: the radios being written are finished and verified, and no new radio is begun. Press Ctrl+C again to stop at once."},
    {"RestoreHint", "%1: serial number %2 was interrupted while it was written. Its backup: %3. To put it back: %4"},
    {"RestoreNoBackup",
     "%1: serial number %2 was interrupted while it was written, and no backup was made: write it again."},
    {"CloseQuestion",
     "%1 radios are being written. Stop them at once and close? Each radio cut short is recorded as interrupted, with its backup."},
});
} // namespace

constinit const TextSection kFleetTexts{"FleetWrite", kTexts};

std::string RadioResultLine(const std::string& portName, const FleetRecord& r)
{
    std::string result = FleetText(r.result == FleetResult::Verified      ? "ResultVerified"
                                   : r.result == FleetResult::Written     ? "ResultWritten"
                                   : r.result == FleetResult::Interrupted ? "ResultInterrupted"
                                                                          : "ResultFailed");
    if (r.result == FleetResult::Failed || r.result == FleetResult::Interrupted) {
        std::string message = r.message;
        std::replace(message.begin(), message.end(), '\n', ' ');
        result = FleetText("ResultWithReason", {result, message});
    }
    const std::string serial = r.serial.empty() ? SafeText("NoSerial") : r.serial;
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", r.seconds);
    return FleetText("RadioLine", {portName, serial, result, seconds});
}

std::string RestoreHint(const FleetRecord& r)
{
    const std::string serial = r.serial.empty() ? SafeText("NoSerial") : r.serial;
    if (r.backupFile.empty())
        return FleetText("RestoreNoBackup", {r.port, serial});
    // Absolute, so the command works from wherever it is typed.
    std::error_code ec;
    const std::filesystem::path backup = std::filesystem::absolute(PathFromUtf8(r.backupFile), ec);
    std::string command = "qv300-cli restore " + ShellQuoted(ec ? r.backupFile : Utf8FromPath(backup)) + " --port " +
                          r.port;
    if (!r.device.empty())
        command += " --device " + ShellQuoted(r.device);
    return FleetText("RestoreHint", {r.port, serial, r.backupFile, command});
}
