// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The connection doctor's texts: section "Doctor" of the language files.
#include <string>
#include <vector>

#include "settings/TextCatalogue.h"

extern const TextSection kDoctorTexts;

inline std::string DoctorText(const std::string& key, const std::vector<std::string>& args = {})
{
    return SectionText(kDoctorTexts, key, args);
}
