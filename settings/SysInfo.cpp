// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SysInfo.h"

#include <filesystem>
#include <optional>
#include <string_view>

#include "base/IniFile.h"
#include "base/ListText.h"
#include "base/NumberText.h"
#include "base/Utf8Path.h"
#include "core/State.h"
#include "settings/Folders.h"
#include "settings/Language.h"

namespace {

constexpr const char* kDefaultLanguages = "English|Chinese";
constexpr const char* kDesignLanguage = "English";

} // namespace

std::string SysInfoPath()
{
    return (SettingsFolder().empty() ? ALL.AppPath : SettingsFolder()) + kSysInfoFile;
}

TSysInfoReader::TSysInfoReader() : user_(SysInfoPath()), shipped_(ALL.AppPath + kSysInfoFile) {}

std::string TSysInfoReader::ReadString(const std::string& key, const std::string& defaultValue) const
{
    if (std::optional<std::string> value = user_.Find(kSysInfoSection, key))
        return *value;
    if (shipped_.Path() != user_.Path())
        if (std::optional<std::string> value = shipped_.Find(kSysInfoSection, key))
            return *value;
    return defaultValue;
}

std::vector<std::string> TSysInfoReader::TooLargeFiles() const
{
    std::vector<std::string> paths;
    if (user_.TooLarge())
        paths.push_back(user_.Path());
    if (shipped_.TooLarge() && shipped_.Path() != user_.Path())
        paths.push_back(shipped_.Path());
    return paths;
}

void LoadSysInfo()
{
    TSysInfoReader file;
    for (const std::string& path : file.TooLargeFiles())
        ShowFileTooLarge(path);
    ALL.ComPort = file.ReadString("Com", "Com1");

    std::optional<int> id = ParseInteger(file.ReadString("Language_ID", "0"));
    ALL.LanguageId = id.value_or(0);
    if (!id)
        ALL.LanguageName = kDesignLanguage;

    std::vector<std::string> names = SplitList(file.ReadString("Language_SW", kDefaultLanguages));
    if (names.size() < 2 || ALL.LanguageId < 0 || static_cast<size_t>(ALL.LanguageId) >= names.size()) {
        // Too short a list, or an index outside it: the design language.
        ALL.LanguageId = 0;
        ALL.LanguageName = kDesignLanguage;
    } else {
        ALL.LanguageName = names[static_cast<size_t>(ALL.LanguageId)];
    }
}

bool SaveSysInfo(std::string* error)
{
    if (!SettingsFolder().empty()) {
        // The user's configuration folder may not exist before the first exit.
        std::error_code ec;
        std::filesystem::create_directories(PathFromUtf8(SettingsFolder()), ec);
    }
    TIniFile file(SysInfoPath());
    return file.WriteString(kSysInfoSection, "Com", ALL.ComPort, error) &&
           file.WriteString(kSysInfoSection, "Language_ID", std::to_string(ALL.LanguageId), error);
}

void ReadLanguageList(std::vector<std::string>& displayNames, std::vector<std::string>& fileNames)
{
    TSysInfoReader file;
    for (std::string& name : SplitList(file.ReadString("Language", kDefaultLanguages)))
        fileNames.push_back(std::move(name));
    for (std::string& name : SplitList(file.ReadString(ALL.LanguageName, kDefaultLanguages)))
        displayNames.push_back(std::move(name));
}

bool ReadWriteRadioOption(const std::string& key)
{
    return TIniFile(SysInfoPath()).ReadString(kWriteRadioSection, key, "1") != "0";
}

bool SaveWriteRadioOption(const std::string& key, bool on)
{
    return TIniFile(SysInfoPath()).WriteString(kWriteRadioSection, key, on ? "1" : "0");
}
