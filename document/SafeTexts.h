// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the safe write, the change list and the backups: section
// "SafeWrite" of the current language file, with built-in English defaults.
// A text may hold %1 to %4, filled in from the arguments.
#include <span>
#include <string>
#include <vector>

#include "settings/SectionTexts.h"

using SafeTextKey = SectionTextKey;
// Every text, in the order of the language files.
std::span<const SafeTextKey> SafeTextKeys();
inline constexpr const char* kSafeSection = "SafeWrite";

// The text of `key` in the current language with its arguments filled in;
// the key itself when the table has no such text.
std::string SafeText(const std::string& key, const std::vector<std::string>& args = {});
// A text of another section of the current language file (a window's label
// or list item), or `fallback` when the file has none.
std::string LanguageFileText(const std::string& section, const std::string& key, const std::string& fallback);
