// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The document as one JSON object, as `qv300-cli dump` prints it: the
// header codes, model, band, time stamps, serial number and area, every
// setting as its editor window shows it, and the channels that exist.
#include <span>
#include <string>

#include "image/formats/DataFile.h"

// The JSON text of the document now held in the global state, indented by
// two and ending in a line break. `header` is the header of the file it came
// from, as stored.
// A header code that is no UTF-8 text is given as an object whose one key
// holds its bytes in hexadecimal ({"hex": "20A02020"}), so no byte is lost.
std::string DocumentToJson(const FileHeaderTexts& header);
inline constexpr const char* kJsonHexKey = "hex";

// The groups of "settings": each key and the editor window whose fields it
// holds. The DTMF group also holds the digit strings of that window.
struct JsonSettingGroup {
    const char* key;
    const char* window;
};
std::span<const JsonSettingGroup> JsonSettingGroups();
inline constexpr const char* kJsonDtmfWindow = "fDtmfFun";
