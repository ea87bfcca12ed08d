// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The global state of the run: the one document and the settings around it.
// Five objects exist for the whole process; every subsystem reaches them
// directly, always on the user-interface thread.
#include <array>
#include <cstdint>
#include <string>

#include "core/Catalogue.h"
#include "core/ImageLayout.h"

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

// The five global objects. Channel is defined beside its type in
// image/ChannelCodec.cpp and Language in settings/Language.cpp;
// DataModuleCreate (app/Startup.h) builds them all at start-up.
extern TMacList MacList;
extern TALL ALL;
extern TChannel Channel;
extern TFrqList FrqList;
extern TLanguage Language;
