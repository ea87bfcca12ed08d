// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lists kept in one INI value, entries separated by "|": blanks and control
// characters around an entry are dropped, a blank inside an unquoted entry
// also ends it, a double-quoted entry may hold blanks and "|" ("" inside
// quotes is one quote), and a "|" at the very end adds one empty entry.
#include <string>
#include <string_view>
#include <vector>

std::vector<std::string> SplitList(std::string_view text);
