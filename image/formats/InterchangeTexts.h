// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the exchange formats (CSV, JSON, print) and of the windows
// that import and export: section "Interchange" of the language files.
#include <string>
#include <vector>

#include "settings/TextCatalogue.h"

extern const TextSection kInterchangeTexts;

inline std::string InterchangeText(const std::string& key, const std::vector<std::string>& args = {})
{
    return SectionText(kInterchangeTexts, key, args);
}
