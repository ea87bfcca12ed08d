// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Startup.h"

#include <clocale>

#include "core/State.h"
#include "image/ChannelCodec.h"
#include "image/Image.h"
#include "link/IdentBlock.h"
#include "settings/Folders.h"
#include "settings/Language.h"
#include "settings/SysInfo.h"

std::string ExecutableFolder(const char* argv0)
{
    return ThisExecutableFolder(argv0);
}

void DataModuleCreate(const std::string& appPath)
{
    // Number texts never depend on the user's regional settings: the core
    // formats and parses them itself with a point. Keeping the C library's
    // numeric locale at "C" also protects anything that still uses printf.
    std::setlocale(LC_NUMERIC, "C");

    MacList.Clear();
    ALL = TALL{};
    Channel = TChannel{};
    FrqList.Clear();
    Language.Reset();

    const TFolders folders = ThisProgramFolders(appPath);
    ALL.AppPath = folders.program;
    SetSettingsFolder(folders.installed ? folders.settings : std::string());
    SetBackupFolder(folders.backups);
    ALL.CurrentChannel = 1;

    BuildBandList();
    LoadSysInfo();
    LoadModelDefaults();
    LoadLanguage(ALL.LanguageName);
    ALL.IdentString = BuildIdentString(ALL.FamilyCode);
}

void StartFirstDocument(std::optional<uint8_t> bandCode)
{
    const TMacType* first = MacList.Items(0);
    SelectModel(first ? first->Code : std::string(), bandCode.value_or(0), bandCode.has_value());
    NewImage();
    BandEdges edges = ParseBandText(ALL.BandText);
    ALL.BandLow = edges.low;
    ALL.BandHigh = edges.high;
    ALL.Modified = false;
}
