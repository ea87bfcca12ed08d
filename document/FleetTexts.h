// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the fleet write: section "FleetWrite" of the current
// language file, with built-in English defaults. %1 to %4 are filled in
// from the arguments.
#include <span>
#include <string>
#include <vector>

#include "document/FleetLog.h"
#include "document/SafeTexts.h"

std::span<const SafeTextKey> FleetTextKeys();
inline constexpr const char* kFleetSection = "FleetWrite";

std::string FleetText(const std::string& key, const std::vector<std::string>& args = {});
// The line that tells how one radio went: port, serial number, result (with
// the message of a failure on one line) and the seconds it took.
std::string RadioResultLine(const std::string& portName, const FleetRecord& r);
// For a radio interrupted while it was written: its port, serial number,
// backup, and the command that writes the backup back into it.
std::string RestoreHint(const FleetRecord& r);
