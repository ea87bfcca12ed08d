// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The global state of the run: the one document and the settings around it.
// Five objects exist for the whole process; every subsystem reaches them
// directly, always on the user-interface thread.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/Catalogue.h"
#include "image/ImageLayout.h"

class TChannel;
class TLanguage;

struct TALL {
    std::string LanguageName;
    int32_t LanguageId = 0;
    int32_t CurrentChannel = 0;
    int32_t BaudRate = 0;
    std::string ComPort;
    std::string AppPath; // folder of the program's files (the executable's), ending in '/'
    std::string FamilyName;
    int32_t ChannelCount = 0;
    std::string ModelName;
    std::string BandText;
    double ModelMaxFreq = 0;
    double ModelMinFreq = 0;
    double BandHigh = 0;
    double BandLow = 0;
    std::string ModelCode;
    std::string FamilyCode;
    std::string IdentString;
    std::string AreaCode;
    int32_t KeyLayout = 0;
    bool Modified = false;
    std::array<uint8_t, kImageSize> Image{};
};

// The five global objects.
extern TMacList MacList;
extern TALL ALL;
extern TChannel Channel;
extern TFrqList FrqList;
extern TLanguage Language;

// Start-up of the data module: builds the global state from nothing, in the
// order the rest of the program relies on. `appPath` is the folder of the
// executable (a trailing '/' is added when missing); the settings and the
// language files are looked for there.
void DataModuleCreate(const std::string& appPath);

// The document the program starts with: the first catalogue model with its
// default band (or with `bandCode` applied), a new image, the band edges
// from the band text, and Modified cleared. The main window runs this when
// it is first shown; the command line's "new" runs it too.
void StartFirstDocument(std::optional<uint8_t> bandCode = std::nullopt);

// The folder of the running executable, ending in '/'.
std::string ExecutableFolder(const char* argv0);
