#include "settings/SysInfo.h"

#include <optional>
#include <string_view>

#include "app/NumberText.h"
#include "app/State.h"
#include "settings/IniFile.h"
#include "settings/ListText.h"

namespace {

constexpr const char* kDefaultLanguages = "English|Chinese";
constexpr const char* kDesignLanguage = "English";

} // namespace

std::string SysInfoPath()
{
    return ALL.AppPath + kSysInfoFile;
}

void LoadSysInfo()
{
    TIniFile file(SysInfoPath());
    ALL.ComPort = file.ReadString(kSysInfoSection, "Com", "Com1");

    std::optional<int> id = ParseInteger(file.ReadString(kSysInfoSection, "Language_ID", "0"));
    ALL.LanguageId = id.value_or(0);
    if (!id)
        ALL.LanguageName = kDesignLanguage;

    std::vector<std::string> names = SplitList(file.ReadString(kSysInfoSection, "Language_SW", kDefaultLanguages));
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
    TIniFile file(SysInfoPath());
    return file.WriteString(kSysInfoSection, "Com", ALL.ComPort, error)
        && file.WriteString(kSysInfoSection, "Language_ID", std::to_string(ALL.LanguageId), error);
}

void ReadLanguageList(std::vector<std::string>& displayNames, std::vector<std::string>& fileNames)
{
    TIniFile file(SysInfoPath());
    for (std::string& name : SplitList(file.ReadString(kSysInfoSection, "Language", kDefaultLanguages)))
        fileNames.push_back(std::move(name));
    for (std::string& name : SplitList(file.ReadString(kSysInfoSection, ALL.LanguageName, kDefaultLanguages)))
        displayNames.push_back(std::move(name));
}
