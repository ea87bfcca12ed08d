// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The connection doctor's texts: section "Doctor" of the current language
// file, with built-in English defaults. A text may hold %1 to %4, filled in
// from the arguments.
#include <span>
#include <string>
#include <vector>

#include "settings/SectionTexts.h"

using DoctorTextKey = SectionTextKey;
// Every text of the doctor, in the order of the language files.
std::span<const DoctorTextKey> DoctorTextKeys();
inline constexpr const char* kDoctorSection = "Doctor";

// The text of `key` in the current language with its arguments filled in;
// the key itself when the table has no such text.
std::string DoctorText(const std::string& key, const std::vector<std::string>& args = {});
// Forgets the texts read, so the next call reads the current language file.
void ReloadDoctorTexts();
