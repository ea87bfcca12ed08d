// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/ContentsDiff.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>

#include "document/SafeTexts.h"
#include "editors/ChannelColumns.h"
#include "image/ChannelCodec.h"
#include "image/ChannelFields.h"
#include "image/SettingFields.h"
#include "settings/Language.h"

namespace {

constexpr const char* kGridSection = "fChsInfo";

// The main window's menu item that opens each settings window: its caption
// is the window's title in every language.
const std::map<std::string, std::pair<const char*, const char*>>& WindowTitles()
{
    static const std::map<std::string, std::pair<const char*, const char*>> titles = {
        {"fKeyFun", {"nKeys_Funs", "Key Function"}},      {"fVoxFun", {"nVoxs_Funs", "Vox Function"}},
        {"fOptFun", {"nOpts_Funs", "Optional Function"}}, {"fScanFun", {"nScan_Funs", "Scan Information"}},
        {"fDtmfFun", {"nDtmf_Funs", "DTMF Information"}},
    };
    return titles;
}

// "&Key Function" and "按键功能(&K)" without their accelerator.
std::string WithoutAccelerator(std::string text)
{
    const size_t marked = text.find("(&");
    if (marked != std::string::npos && marked + 3 < text.size() && text[marked + 3] == ')')
        text.erase(marked, 4);
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    return text;
}

std::string WindowTitle(const std::string& window)
{
    auto it = WindowTitles().find(window);
    if (it == WindowTitles().end())
        return window;
    return WithoutAccelerator(
        LanguageFileText("fMainFrm", std::string(it->second.first) + ".Caption", it->second.second));
}

std::string ShownOrEmpty(const std::string& text)
{
    return text.empty() ? SafeText("Empty") : text;
}

// --- Channels -----------------------------------------------------------

std::string ColumnTitle(int fieldNumber)
{
    const auto columns = ChannelColumns();
    const size_t index = static_cast<size_t>(fieldNumber - 1);
    const std::string fallback = index < columns.size() ? columns[index].value : std::string();
    return ColumnTitleOf(LanguageFileText(kGridSection, "ColShow." + std::to_string(fieldNumber), fallback));
}

std::string GridText(const ChannelField& field, const TChannel& c)
{
    std::string text = ChannelFieldText(field, c);
    if (field.member && *field.comboName) {
        const int item = c.*field.member;
        text = LanguageFileText(kGridSection, std::string(field.comboName) + "." + std::to_string(item), text);
    }
    return text;
}

struct ShownChannel {
    bool present = false;
    std::vector<std::string> texts; // in ChannelFields() order
};

std::vector<ShownChannel> ShownChannels(const RadioContents& contents)
{
    ScopedContents scope(contents);
    std::vector<ShownChannel> channels(static_cast<size_t>(kMaxChannels) + 1);
    for (int n = 1; n <= std::min(ALL.ChannelCount, kMaxChannels); ++n) {
        TChannel c;
        ShownChannel& shown = channels[static_cast<size_t>(n)];
        shown.present = DecodeChannel(n, c);
        if (shown.present)
            for (const ChannelField& field : ChannelFields())
                shown.texts.push_back(GridText(field, c));
    }
    return channels;
}

// The bits of the two images that differ and that no listed change explains
// yet; what is left at the end is named by address.
using UnexplainedBits = std::array<uint8_t, kImageSize>;

void Explain(UnexplainedBits& bits, size_t offset, size_t count, uint8_t mask)
{
    for (size_t i = offset; i < offset + count && i < bits.size(); ++i)
        bits[i] &= static_cast<uint8_t>(~mask);
}

void ExplainChannelField(UnexplainedBits& bits, int n, const ChannelField& f)
{
    const bool frequency = f.kind == ChannelFieldKind::RxFrequency || f.kind == ChannelFieldKind::TxFrequency;
    const bool tone = f.kind == ChannelFieldKind::RxTone || f.kind == ChannelFieldKind::TxTone;
    Explain(bits, ChannelOffset(n) + f.recordByte, frequency ? 4 : tone ? 2 : 1, f.mask ? f.mask : 0xFF);
}

std::string ChannelPlace(int n)
{
    return Language.Channel + " " + std::to_string(n);
}

void DiffChannels(const RadioContents& before, const RadioContents& after, std::vector<ContentChange>& changes,
                  UnexplainedBits& bits)
{
    const std::vector<ShownChannel> a = ShownChannels(before), b = ShownChannels(after);
    const auto fields = ChannelFields();
    for (int n = 1; n <= kMaxChannels; ++n) {
        const ShownChannel& was = a[static_cast<size_t>(n)];
        const ShownChannel& is = b[static_cast<size_t>(n)];
        const std::string key = "channel." + std::to_string(n);
        if (!was.present && !is.present)
            continue;
        if (!was.present || !is.present) {
            ContentChange c{is.present ? ChangeKind::ChannelAdded : ChangeKind::ChannelDeleted,
                            n,
                            ChannelPlace(n),
                            "",
                            "",
                            "",
                            key};
            const ShownChannel& shown = is.present ? is : was;
            std::string summary;
            for (size_t f = 0; f < fields.size(); ++f) {
                if (shown.texts[f].empty())
                    continue;
                summary += (summary.empty() ? "" : ", ") + ColumnTitle(fields[f].number) + " " + shown.texts[f];
            }
            (is.present ? c.after : c.before) = summary;
            changes.push_back(c);
            for (const ChannelField& field : fields)
                ExplainChannelField(bits, n, field);
            continue;
        }
        for (size_t f = 0; f < fields.size(); ++f)
            if (was.texts[f] != is.texts[f]) {
                changes.push_back({ChangeKind::ChannelField, n, ChannelPlace(n), ColumnTitle(fields[f].number),
                                   ShownOrEmpty(was.texts[f]), ShownOrEmpty(is.texts[f]),
                                   key + "." + fields[f].jsonKey});
                ExplainChannelField(bits, n, fields[f]);
            }
    }
}

// --- Settings -----------------------------------------------------------

bool Compared(const SettingField& f)
{
    return f.mapping != FieldMapping::NotStored && f.mapping != FieldMapping::Always3 && *f.control;
}

std::string SettingLabel(const SettingField& f)
{
    const std::string labelKey = std::string(*f.label ? f.label : f.control) + ".Caption";
    std::string label = WithoutAccelerator(LanguageFileText(f.window, labelKey, f.caption));
    // The two keys' rows carry the same labels; their group tells them apart.
    if (f.mapping == FieldMapping::KeyShort || f.mapping == FieldMapping::KeyLong)
        label += " " + std::string(1, std::string(f.control).back());
    return label;
}

std::string SettingText(const SettingField& f)
{
    const int item = FieldItem(f);
    if (IsCheckBox(f))
        return SafeText(item ? "Ticked" : "NotTicked");
    if (f.mapping == FieldMapping::KeyShort || f.mapping == FieldMapping::KeyLong) {
        const bool shortPress = f.mapping == FieldMapping::KeyShort;
        std::vector<std::string> entries = DefaultKeyEntries(shortPress);
        const std::string list = shortPress ? "List_Short." : "List_Long.";
        for (size_t i = 0; i < entries.size(); ++i)
            entries[i] = LanguageFileText(f.window, list + std::to_string(i), entries[i]);
        return KeyTextOfCode(entries, item, shortPress);
    }
    return LanguageFileText(f.window, std::string(f.control) + "." + std::to_string(item), ItemText(f, item));
}

std::vector<std::string> SettingTexts(const RadioContents& contents)
{
    ScopedContents scope(contents);
    std::vector<std::string> texts;
    for (const SettingField& f : SettingFields())
        texts.push_back(Compared(f) ? SettingText(f) : std::string());
    return texts;
}

// --- Bytes no field shows -------------------------------------------------

std::string Hex(size_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%03zX", value);
    return text;
}

} // namespace

std::vector<ContentChange> DiffContents(const RadioContents& before, const RadioContents& after)
{
    std::vector<ContentChange> changes;
    UnexplainedBits bits;
    for (size_t at = 0; at < bits.size(); ++at)
        bits[at] = before.image[at] ^ after.image[at];
    // Every write makes a new time stamp: no difference.
    Explain(bits, kWriteStamp, kStampSize, 0xFF);
    const std::string modelWord = SafeText("Model"), bandWord = SafeText("Band");
    if (ModelNameOf(before) != ModelNameOf(after) || before.modelCode != after.modelCode) {
        changes.push_back({ChangeKind::Model, 0, modelWord, "", ModelNameOf(before), ModelNameOf(after), "model"});
        Explain(bits, kModelBlock, kBandCodeOffset - kModelBlock, 0xFF);
    }
    if (before.BandCode() != after.BandCode()) {
        changes.push_back({ChangeKind::Band, 0, bandWord, "", BandTextOf(before), BandTextOf(after), "band"});
        Explain(bits, kBandCodeOffset, 1, 0xFF);
    }

    DiffChannels(before, after, changes, bits);

    const std::vector<std::string> a = SettingTexts(before), b = SettingTexts(after);
    const auto& fields = SettingFields();
    for (size_t i = 0; i < fields.size(); ++i)
        if (a[i] != b[i]) {
            changes.push_back({ChangeKind::Setting, 0, WindowTitle(fields[i].window), SettingLabel(fields[i]), a[i],
                               b[i],
                               std::string("setting.") + (*fields[i].jsonKey ? fields[i].jsonKey : fields[i].control)});
            Explain(bits, fields[i].offset, 1, fields[i].mask | fields[i].valueMask);
        }

    // Bytes that no window shows (DTMF codes, reserved bytes, bits beside a
    // field), and bytes of two values that show the same text, still go to
    // the radio: name them by address so that no difference goes unmentioned.
    for (size_t at = 0; at < kWriteBlocks * kBlockSize; ++at) {
        if (!bits[at])
            continue;
        size_t end = at;
        while (end + 1 < kWriteBlocks * kBlockSize && bits[end + 1])
            ++end;
        auto bytes = [&](const RadioContents& c) {
            std::string text;
            for (size_t i = at; i <= end; ++i) {
                char hex[4];
                std::snprintf(hex, sizeof hex, "%02X", c.image[i]);
                text += hex;
            }
            return text;
        };
        changes.push_back({ChangeKind::OtherData, 0, SafeText("OtherData", {Hex(at)}), "", bytes(before), bytes(after),
                           "data." + Hex(at)});
        at = end;
    }
    return changes;
}

std::string ChangeLine(const ContentChange& c)
{
    switch (c.kind) {
    case ChangeKind::ChannelAdded:
        return SafeText("Added", {c.place, c.after});
    case ChangeKind::ChannelDeleted:
        return SafeText("Deleted", {c.place});
    default:
        if (c.field.empty())
            return SafeText("ChangedWhole", {c.place, c.before, c.after});
        return SafeText("Changed", {c.place, c.field, c.before, c.after});
    }
}

std::string ChangesText(const std::vector<ContentChange>& changes)
{
    if (changes.empty())
        return SafeText("NoChanges") + "\n";
    std::string text;
    for (const ContentChange& c : changes)
        text += ChangeLine(c) + "\n";
    return text;
}

std::optional<BlockDifference> FirstDifferentBlock(const uint8_t* sent, const uint8_t* readBack)
{
    for (size_t block = 0; block < kWriteBlocks; ++block) {
        const size_t first = block * kBlockSize;
        auto differs = [&](size_t at) { return sent[at] != readBack[at]; };
        size_t at = first;
        while (at < first + kBlockSize && !differs(at))
            ++at;
        if (at == first + kBlockSize)
            continue;
        const int b = static_cast<int>(block);
        if (block >= 1 && block <= static_cast<size_t>(kMaxChannels))
            return BlockDifference{b, ChannelPlace(b)};
        for (const SettingField& f : SettingFields())
            if (Compared(f) && f.offset >= first && f.offset < first + kBlockSize && differs(f.offset))
                return BlockDifference{b, WindowTitle(f.window) + ": " + SettingLabel(f)};
        return BlockDifference{b, SafeText("Block", {std::to_string(b)})};
    }
    return std::nullopt;
}
