// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the exchange formats (CSV, JSON, print) and of the windows
// that import and export: section "Interchange" of the current language
// file, with built-in English defaults. A text may hold %1 to %3, filled in
// from the arguments.
#include <span>
#include <string>
#include <vector>

#include "settings/SectionTexts.h"

using InterchangeTextKey = SectionTextKey;
// Every text, in the order of the language files.
std::span<const InterchangeTextKey> InterchangeTextKeys();
inline constexpr const char* kInterchangeSection = "Interchange";

// The text of `key` in the current language with its arguments filled in;
// the key itself when the table has no such text.
std::string InterchangeText(const std::string& key, const std::vector<std::string>& args = {});
// Forgets the texts read, so the next call reads the current language file.
void ReloadInterchangeTexts();
