// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/formats/JsonDump.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "base/TextEncoding.h"
#include "core/State.h"
#include "editors/AreaTable.h"
#include "image/ChannelCodec.h"
#include "image/ChannelFields.h"
#include "image/DtmfDigits.h"
#include "image/SettingFields.h"
#include "image/Stamp.h"

using nlohmann::ordered_json;

namespace {
ordered_json DumpChannel(int n, const TChannel& c)
{
    ordered_json row;
    row["number"] = n;
    for (const ChannelField& f : ChannelFields()) {
        // A record without TX frequency has null there, not an empty text.
        if (f.kind == ChannelFieldKind::TxFrequency && c.TxFreq < 0)
            row[f.jsonKey] = nullptr;
        else
            row[f.jsonKey] = ChannelFieldText(f, c);
    }
    return row;
}

// The fields of one editor window as the window shows them when filled from
// the document: the selected item's text, or true/false for a check box.
ordered_json DumpWindow(const char* window)
{
    ordered_json group;
    for (const SettingField* f : SettingFieldsOf(window)) {
        if (*f->jsonKey == '\0')
            continue;
        if (IsCheckBox(*f)) {
            group[f->jsonKey] = FieldItem(*f) != 0;
        } else if (f->mapping == FieldMapping::KeyShort || f->mapping == FieldMapping::KeyLong) {
            const bool shortPress = f->mapping == FieldMapping::KeyShort;
            group[f->jsonKey] = KeyTextOfCode(DefaultKeyEntries(shortPress), FieldItem(*f), shortPress);
        } else {
            group[f->jsonKey] = ItemText(*f, FieldItem(*f));
        }
    }
    return group;
}

ordered_json DumpHeaderCode(const std::string& code)
{
    if (IsValidUtf8(code))
        return code;
    std::string hex;
    for (unsigned char byte : code) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", byte);
        hex += pair;
    }
    return ordered_json::object({{kJsonHexKey, hex}});
}

ordered_json DumpSettings()
{
    ordered_json settings;
    for (const JsonSettingGroup& g : JsonSettingGroups()) {
        ordered_json group;
        if (std::string(g.window) == kJsonDtmfWindow)
            for (const DtmfStringField& s : DtmfStringFields())
                group[s.jsonKey] = DtmfStringText(s);
        group.update(DumpWindow(g.window));
        settings[g.key] = std::move(group);
    }
    return settings;
}

constexpr JsonSettingGroup kGroups[] = {
    {"optional", "fOptFun"}, {"vox", "fVoxFun"}, {"scan", "fScanFun"}, {"keys", "fKeyFun"}, {"dtmf", kJsonDtmfWindow},
};
}

std::span<const JsonSettingGroup> JsonSettingGroups()
{
    return kGroups;
}

std::string DocumentToJson(const FileHeaderTexts& header)
{
    ordered_json doc;
    doc["model_code"] = header.ModelCode;
    doc["family_code"] = DumpHeaderCode(header.FamilyCode);
    doc["area_code"] = DumpHeaderCode(header.AreaCode);
    doc["model_name"] = ALL.ModelName;
    doc["band"] = ALL.BandText;
    doc["write_time"] = FormatStamp(ALL.Image.data() + kWriteStamp);
    doc["factory_time"] = FormatStamp(ALL.Image.data() + kFactoryStamp);
    doc["serial_number"] = SerialNumberText(ALL.Image.data() + kSerialNumber);
    doc["area"] = LookupArea(ALL.AreaCode, false);
    doc["settings"] = DumpSettings();
    ordered_json channels = ordered_json::array();
    for (int n = 1; n <= ALL.ChannelCount && n <= kMaxChannels; ++n) {
        if (DecodeChannel(n, Channel))
            channels.push_back(DumpChannel(n, Channel));
    }
    doc["channels"] = std::move(channels);
    return doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + '\n';
}
