// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the fleet write: section "FleetWrite" of the language files.
#include <string>
#include <vector>

#include "document/FleetLog.h"
#include "settings/TextCatalogue.h"

extern const TextSection kFleetTexts;

inline std::string FleetText(const std::string& key, const std::vector<std::string>& args = {})
{
    return SectionText(kFleetTexts, key, args);
}
// The line that tells how one radio went: port, serial number, result (with
// the message of a failure on one line) and the seconds it took.
std::string RadioResultLine(const std::string& portName, const FleetRecord& r);
// For a radio interrupted while it was written: its port, serial number,
// backup, and the command that writes the backup back into it.
std::string RestoreHint(const FleetRecord& r);
