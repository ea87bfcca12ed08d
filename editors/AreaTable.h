// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sales areas a radio can be registered for, and the text the radio
// information window shows for an area code. Standard C++ only: the command
// line's dump shows the same text.
#include <array>
#include <string>

inline constexpr int kAreaRows = 317;

struct AreaRow {
    std::string Code;
    std::string Range;
    std::string English;
    std::string Chinese;
};

// Row 0 is the unknown area, 1-36 provinces, municipalities, regions,
// overseas and user-defined, 37-315 cities, 316 the end marker.
extern const std::array<const char*, kAreaRows> kAreaTable;

// One row split into its four fields, blanks around each dropped.
AreaRow AreaTableRow(int row);

// "Fujian - XIA MEN" for 0592, "Beijing" for 0100, "User-Defined - 1234"
// for 1234, "Unknown Area" for a code not in the table, "" for a code that
// is not four characters long. `chinese` picks the Chinese names.
std::string LookupArea(const std::string& code, bool chinese);
