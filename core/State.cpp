// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/State.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>

#include "image/ChannelCodec.h"
#include "image/Image.h"
#include "link/IdentBlock.h"
#include "settings/Folders.h"
#include "settings/Language.h"
#include "settings/SysInfo.h"

TMacList MacList;
TALL ALL;
TChannel Channel;
TFrqList FrqList;
TLanguage Language;

std::string ExecutableFolder(const char* argv0)
{
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty())
        exe = std::filesystem::absolute(argv0 ? argv0 : ".", ec);
    std::string folder = exe.parent_path().string();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
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

    const TFolders folders = ResolveFolders(appPath, std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    ALL.AppPath = folders.program;
    SetSettingsFolder(folders.installed ? folders.settings : std::string());
    SetBackupFolder(ResolveBackupFolder(folders, std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
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
