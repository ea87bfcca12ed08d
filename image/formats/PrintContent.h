// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a printout of the document holds, in the current language: the
// header lines, the channel table with the grid's shown columns, and every
// settings window's values as label/value pairs under the window's title. The windows and the
// command line paint it (image/formats/qt); nothing here knows a page.
#include <string>
#include <utility>
#include <vector>

struct PrintSettingGroup {
    std::string title;                                         // the settings window's title
    std::vector<std::pair<std::string, std::string>> settings; // label, value
};

struct PrintContent {
    std::vector<std::pair<std::string, std::string>> header; // label, value
    std::string channelsTitle;
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows; // one per existing channel
    std::string settingsTitle;
    std::vector<PrintSettingGroup> settingGroups;
    std::string pagePattern; // "Page %1 of %2"
};

// `fileName` is the document's file, empty when it has none.
PrintContent ComposePrint(const std::string& fileName);
