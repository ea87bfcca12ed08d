// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/formats/JsonLoad.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>

#include "base/NumberText.h"
#include "core/Catalogue.h"
#include "core/State.h"
#include "image/ChannelCodec.h"
#include "image/ChannelFields.h"
#include "image/DtmfDigits.h"
#include "image/formats/InterchangeTexts.h"
#include "image/formats/JsonDump.h"
#include "image/Image.h"
#include "image/SettingFields.h"
#include "image/Stamp.h"
#include "settings/Language.h"

using nlohmann::json;

namespace {
// Thrown with the text of the first fault; caught at the top, where the
// document is put back as it was.
struct Fault {
    std::string text;
};

[[noreturn]] void Fail(const std::string& key, const std::vector<std::string>& args)
{
    throw Fault{InterchangeText(key, args)};
}

const json& Expect(const json& value, json::value_t type, const std::string& path)
{
    static const std::map<json::value_t, const char*> kTypeNames = {
        {json::value_t::string, "TypeText"},   {json::value_t::number_unsigned, "TypeNumber"},
        {json::value_t::object, "TypeObject"}, {json::value_t::array, "TypeList"},
        {json::value_t::boolean, "TypeYesNo"},
    };
    const bool number = type == json::value_t::number_unsigned && value.is_number_integer();
    if (value.type() != type && !number)
        Fail("JsonWrongType", {path, InterchangeText(kTypeNames.at(type))});
    return value;
}

std::string Text(const json& value, const std::string& path)
{
    return Expect(value, json::value_t::string, path).get<std::string>();
}

// Calls `take` for each key of `object`; a key `take` does not know is a
// fault.
void EachKey(const json& object, const std::string& path,
             const std::function<bool(const std::string& key, const json& value, const std::string& path)>& take)
{
    Expect(object, json::value_t::object, path);
    for (const auto& [key, value] : object.items()) {
        const std::string at = path.empty() ? key : path + "." + key;
        if (!take(key, value, at))
            Fail("JsonUnknownKey", {at});
    }
}

// "yyyy-MM-dd HH:mm:ss" naming a real moment, as a write stamps it.
bool IsStampText(const std::string& text)
{
    static const std::regex form(R"((\d{4})-(\d\d)-(\d\d) (\d\d):(\d\d):(\d\d))");
    std::smatch m;
    if (!std::regex_match(text, m, form))
        return false;
    auto part = [&m](size_t i) { return std::stoi(m[i].str()); };
    const std::chrono::year_month_day day{std::chrono::year(part(1)),
                                          std::chrono::month(static_cast<unsigned>(part(2))),
                                          std::chrono::day(static_cast<unsigned>(part(3)))};
    return day.ok() && part(4) < 24 && part(5) < 60 && part(6) < 60;
}

void LoadStamp(size_t offset, const json& value, const std::string& path)
{
    const std::string text = Text(value, path);
    if (text == FormatStamp(ALL.Image.data() + offset))
        return;
    if (text.empty())
        FillImage(offset, kStampSize, 0xFF);
    else if (IsStampText(text))
        EncodeStamp(offset, text);
    else
        Fail("JsonStamp", {path, text});
}

void LoadSerialNumber(const json& value, const std::string& path)
{
    const std::string text = Text(value, path);
    if (text == SerialNumberText(ALL.Image.data() + kSerialNumber))
        return;
    if (text.size() > kStampSize)
        Fail("JsonNotAnItem", {path, text});
    FillImage(kSerialNumber, kStampSize, 0xFF);
    std::copy(text.begin(), text.end(), ALL.Image.begin() + kSerialNumber);
    // Only what the Radio Information window would show back is taken.
    if (SerialNumberText(ALL.Image.data() + kSerialNumber) != text)
        Fail("JsonNotAnItem", {path, text});
}

// "20A0" as its bytes; nothing for a text that is not pairs of hex digits.
std::optional<std::vector<uint8_t>> HexBytes(const std::string& digits)
{
    if (digits.size() % 2 != 0 || digits.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < digits.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return bytes;
}

// A header code as the dump gives it: its text, or its bytes in hexadecimal
// when they are no UTF-8 text.
std::string HeaderCode(const json& value, const std::string& path)
{
    if (!value.is_object())
        return Text(value, path);
    std::string code;
    EachKey(value, path, [&code](const std::string& key, const json& hex, const std::string& at) {
        if (key != kJsonHexKey)
            return false;
        const std::string digits = Text(hex, at);
        const std::optional<std::vector<uint8_t>> bytes = HexBytes(digits);
        if (!bytes)
            Fail("JsonNotAnItem", {at, digits});
        code.assign(bytes->begin(), bytes->end());
        return true;
    });
    return code;
}

void LoadSettingField(const SettingField& f, const json& value, const std::string& path)
{
    if (IsCheckBox(f)) {
        const int tick = Expect(value, json::value_t::boolean, path).get<bool>() ? 1 : 0;
        if (tick != FieldItem(f))
            StoreFieldItem(f, tick);
        return;
    }
    const std::string text = Text(value, path);
    if (f.mapping == FieldMapping::KeyShort || f.mapping == FieldMapping::KeyLong) {
        const bool shortPress = f.mapping == FieldMapping::KeyShort;
        const std::vector<std::string> entries = DefaultKeyEntries(shortPress);
        if (text == KeyTextOfCode(entries, FieldItem(f), shortPress))
            return;
        const int code = KeyCodeOfText(entries, text);
        if (text.empty() || code >= static_cast<int>(entries.size()))
            Fail("JsonNotAnItem", {path, text});
        StoreFieldItem(f, code);
        return;
    }
    if (text == ItemText(f, FieldItem(f)))
        return;
    const std::vector<std::string> items = ItemTexts(f);
    auto it = std::find(items.begin(), items.end(), text);
    if (it == items.end())
        Fail("JsonNotAnItem", {path, text});
    StoreFieldItem(f, static_cast<int>(it - items.begin()));
}

void LoadSettings(const json& settings, const std::string& path)
{
    EachKey(settings, path, [](const std::string& key, const json& group, const std::string& at) {
        const auto groups = JsonSettingGroups();
        auto g = std::find_if(groups.begin(), groups.end(), [&](const JsonSettingGroup& x) { return key == x.key; });
        if (g == groups.end())
            return false;
        const bool dtmf = std::string(g->window) == kJsonDtmfWindow;
        EachKey(group, at, [&](const std::string& fieldKey, const json& value, const std::string& fieldPath) {
            for (const SettingField* f : SettingFieldsOf(g->window))
                if (*f->jsonKey != '\0' && fieldKey == f->jsonKey) {
                    LoadSettingField(*f, value, fieldPath);
                    return true;
                }
            for (const DtmfStringField& s : DtmfStringFields())
                if (dtmf && fieldKey == s.jsonKey) {
                    const std::string text = Text(value, fieldPath);
                    if (text == DtmfStringText(s))
                        return true;
                    if (static_cast<int>(text.size()) > s.positions ||
                        !std::all_of(text.begin(), text.end(), [&s](char c) { return DtmfKeyAccepted(s, c); }))
                        Fail("JsonNotAnItem", {fieldPath, text});
                    StoreDtmfString(s, text);
                    return true;
                }
            return false;
        });
        return true;
    });
}

// The text one channel field of the dump gives: null TX is no TX.
std::string FieldText(const ChannelField& f, const json& value, const std::string& path)
{
    if (f.kind == ChannelFieldKind::TxFrequency && value.is_null())
        return {};
    return Text(value, path);
}

// A value that differs from what the channel holds, checked as typing
// checks it, as the codec takes it.
std::string CheckedValue(const ChannelField& f, const std::string& text, const std::string& path)
{
    switch (f.kind) {
    case ChannelFieldKind::TxFrequency:
        if (text.empty())
            return text;
        [[fallthrough]];
    case ChannelFieldKind::RxFrequency: {
        if (!ParseNumber(text))
            Fail("JsonNotAnItem", {path, text});
        const FrequencyCheck check = CheckFrequency(text);
        if (check.message)
            Fail("JsonRefused", {path, text, Language.*check.message});
        // Typing would round it onto the raster: a load says so instead.
        if (FreqToBcd(text) != FreqToBcd(check.text))
            Fail("JsonOffRaster", {path, text, check.text});
        return check.text;
    }
    case ChannelFieldKind::RxTone:
    case ChannelFieldKind::TxTone: {
        const std::vector<std::string>& tones = ToneList();
        if (!text.empty() && CheckToneText(text) != text && std::find(tones.begin(), tones.end(), text) == tones.end())
            Fail("JsonNotAnItem", {path, text});
        return text;
    }
    case ChannelFieldKind::Flag:
    case ChannelFieldKind::PttId:
        break;
    }
    for (size_t i = 0; i < f.items.size(); ++i)
        if (text == f.items[i])
            return std::to_string(i);
    Fail("JsonNotAnItem", {path, text});
}

// Whether the text stands for what the channel shows; a frequency written
// another way ("446.0") is the same when it stores the same digits.
bool Unchanged(const ChannelField& f, const std::string& text, const TChannel& c)
{
    const std::string now = ChannelFieldText(f, c);
    if (text == now)
        return true;
    const bool frequency = f.kind == ChannelFieldKind::RxFrequency || f.kind == ChannelFieldKind::TxFrequency;
    const std::optional<double> mhz = frequency ? ParseNumber(text) : std::nullopt;
    return mhz && FormatFrequency(*mhz) == now;
}

void LoadChannels(const json& channels, const std::string& path)
{
    Expect(channels, json::value_t::array, path);
    const int slots = std::clamp(ALL.ChannelCount, 0, kMaxChannels);
    std::map<int, const json*> listed;
    for (size_t i = 0; i < channels.size(); ++i) {
        const std::string at = path + "[" + std::to_string(i) + "]";
        Expect(channels[i], json::value_t::object, at);
        if (!channels[i].contains("number"))
            Fail("JsonChannel", {at + ".number"});
        // Read wide, so that a number beyond any int is refused, not wrapped.
        const int64_t n = Expect(channels[i]["number"], json::value_t::number_unsigned, at + ".number").get<int64_t>();
        if (n < 1 || n > slots || listed.contains(static_cast<int>(n)))
            Fail("JsonChannel", {at + ".number"});
        listed[static_cast<int>(n)] = &channels[i];
    }
    TChannel c;
    for (int n = 1; n <= slots; ++n)
        if (!listed.contains(n) && DecodeChannel(n, c))
            ClearChannel(n);
    int index = 0;
    for (const json& row : channels) {
        const std::string at = path + "[" + std::to_string(index++) + "]";
        const int n = row["number"].get<int>();
        std::map<int, std::string> texts;
        EachKey(row, at, [&](const std::string& key, const json& value, const std::string& fieldPath) {
            if (key == "number")
                return true;
            for (const ChannelField& f : ChannelFields())
                if (key == f.jsonKey) {
                    texts[f.number] = FieldText(f, value, fieldPath);
                    return true;
                }
            return false;
        });
        const ChannelField& rx = ChannelFields().front();
        const std::string rxPath = at + "." + rx.jsonKey;
        if (!DecodeChannel(n, c)) {
            if (!texts.contains(rx.number))
                Fail("JsonNotAnItem", {rxPath, ""});
            InitChannel(n, CheckedValue(rx, texts[rx.number], rxPath));
        }
        // A value the channel already shows keeps its bytes, whatever they
        // are; only a changed one is checked and stored.
        for (const auto& [number, text] : texts) {
            DecodeChannel(n, c);
            const ChannelField& f = *FindChannelField(number);
            if (!Unchanged(f, text, c))
                EncodeChannelField(n, number, CheckedValue(f, text, at + "." + f.jsonKey));
        }
    }
}

void LoadDocument(const json& doc, FileHeaderTexts& header)
{
    std::optional<std::string> model;
    std::optional<std::string> band;
    EachKey(doc, "", [&](const std::string& key, const json& value, const std::string& at) {
        if (key == "model_code")
            model = Text(value, at);
        else if (key == "band")
            band = Text(value, at);
        else if (key == "family_code")
            header.FamilyCode = HeaderCode(value, at);
        else if (key == "area_code")
            header.AreaCode = HeaderCode(value, at);
        else if (key == "model_name" || key == "area")
            Text(value, at); // shown for the reader; follow from the codes
        else if (key != "write_time" && key != "factory_time" && key != "serial_number" && key != "settings" &&
                 key != "channels")
            return false;
        return true;
    });
    // The model and band first: they decide the channel count and the band
    // edges the rest is checked against.
    if ((model && *model != ALL.ModelCode) || (band && *band != ALL.BandText)) {
        const std::string code = model.value_or(ALL.ModelCode);
        if (MacList.ChannelsOf(code) == 0)
            Fail("JsonNotAnItem", {"model_code", code});
        const std::string text = band.value_or(ALL.BandText);
        if (FrqList.TextOf(FrqList.CodeOf(text)) != text)
            Fail("JsonNotAnItem", {"band", text});
        SelectModel(code, FrqList.CodeOf(text), true);
        WriteModelBlock();
        header.ModelCode = ALL.ModelCode;
    }
    if (doc.contains("write_time"))
        LoadStamp(kWriteStamp, doc["write_time"], "write_time");
    if (doc.contains("factory_time"))
        LoadStamp(kFactoryStamp, doc["factory_time"], "factory_time");
    if (doc.contains("serial_number"))
        LoadSerialNumber(doc["serial_number"], "serial_number");
    if (doc.contains("settings"))
        LoadSettings(doc["settings"], "settings");
    if (doc.contains("channels"))
        LoadChannels(doc["channels"], "channels");
    ALL.FamilyCode = header.FamilyCode;
    ALL.AreaCode = header.AreaCode;
}
} // namespace

JsonLoadReport JsonToDocument(std::string_view text)
{
    JsonLoadReport report;
    report.header = {ALL.ModelCode, ALL.FamilyCode, ALL.AreaCode};
    json doc;
    try {
        doc = json::parse(text);
    } catch (const json::exception& e) {
        // A syntax error, or a number too large for any field (out_of_range).
        report.error = InterchangeText("JsonSyntax", {e.what()});
        return report;
    }
    const TALL before = ALL;
    try {
        LoadDocument(doc, report.header);
        ALL.Modified = true;
    } catch (const Fault& fault) {
        ALL = before;
        report.error = fault.text;
    }
    return report;
}
