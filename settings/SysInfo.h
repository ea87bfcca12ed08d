#pragma once
// SysInfo.Ini in the executable's folder, section "SysInfo": the serial port
// and the language of the run.
#include <string>
#include <vector>

inline constexpr const char* kSysInfoFile = "SysInfo.Ini";
inline constexpr const char* kSysInfoSection = "SysInfo";

std::string SysInfoPath(); // AppPath + "SysInfo.Ini"

// ComPort, LanguageId and LanguageName from the file, with the defaults
// "Com1", 0 and "English". An index outside the "Language_SW" list falls back
// to 0 and "English".
void LoadSysInfo();
// Writes "Com" and "Language_ID"; false with the reason when it cannot.
bool SaveSysInfo(std::string* error = nullptr);
// Appends the display names (key named like LanguageName) and the file names
// (key "Language") for the language dialog.
void ReadLanguageList(std::vector<std::string>& displayNames, std::vector<std::string>& fileNames);
