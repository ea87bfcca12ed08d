// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the safe write, the change list and the backups: section
// "SafeWrite" of the language files.
#include <string>
#include <vector>

#include "settings/TextCatalogue.h"

extern const TextSection kSafeTexts;

inline std::string SafeText(const std::string& key, const std::vector<std::string>& args = {})
{
    return SectionText(kSafeTexts, key, args);
}
