// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SysInfo.Ini, section "SysInfo": the serial port and the language of the
// run. It lives in the executable's folder, or for an installed program in
// the user's configuration folder (settings/Folders.h).
#include <string>
#include <vector>

#include "base/IniFile.h"

inline constexpr const char* kSysInfoFile = "SysInfo.Ini";
inline constexpr const char* kSysInfoSection = "SysInfo";

std::string SysInfoPath(); // the settings folder + "SysInfo.Ini"

// Reads section "SysInfo" of the user's SysInfo.Ini; a key it lacks comes
// from the SysInfo.Ini shipped in AppPath (for an installed program these
// are two files), then from the default given.
class TSysInfoReader {
public:
    TSysInfoReader();
    std::string ReadString(const std::string& key, const std::string& defaultValue) const;
    // The files refused for their size (they read as missing).
    std::vector<std::string> TooLargeFiles() const;

private:
    TIniFile user_;
    TIniFile shipped_;
};

// ComPort, LanguageId and LanguageName from the file, with the defaults
// "Com1", 0 and "English"; a file over 1 MiB is named in a message. An index outside the "Language_SW" list falls back
// to 0 and "English".
void LoadSysInfo();
// Writes "Com" and "Language_ID"; false with the reason when it cannot.
bool SaveSysInfo(std::string* error = nullptr);
// Appends the display names (key named like LanguageName) and the file names
// (key "Language") for the language dialog.
void ReadLanguageList(std::vector<std::string>& displayNames, std::vector<std::string>& fileNames);

// The write window's check boxes, section "WriteRadio" of the user's
// SysInfo.Ini: on ("1") unless the user turned them off.
inline constexpr const char* kWriteRadioSection = "WriteRadio";
bool ReadWriteRadioOption(const std::string& key);
bool SaveWriteRadioOption(const std::string& key, bool on);
