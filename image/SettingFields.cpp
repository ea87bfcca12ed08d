// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/SettingFields.h"

#include <algorithm>

#include "base/NumberText.h"
#include "core/ImageLayout.h"
#include "core/State.h"
#include "image/Image.h"

namespace {

using M = FieldMapping;
constexpr ItemRange kListed{"", 0, 0, 0, ""};

constexpr const char* kOffOn[] = {"Off", "On"};
constexpr const char* kNoYes[] = {"No", "Yes"};
constexpr const char* kVoice[] = {"Off", "English", "China"};
constexpr const char* kFm[] = {"Interdict", "Turn on"};
constexpr const char* kInhibitTx[] = {"Off", "Low Inhibit", "High Inhibit", "Both"};
constexpr const char* kBatterySave[] = {"OFF", "1:1", "1:2", "1:3", "1:4"};
constexpr const char* kVoxDelay[] = {"0.5", "1.0", "2.0", "3.0"};
constexpr const char* kScanMode[] = {"TE", "SO", "CO"};
// Code 2 is a long press only: its short-press entry stays empty.
constexpr const char* kShortPress[] = {"Off", "Monmome", "", "Scan", "Warm", "Power H/L"};
constexpr const char* kLongPress[] = {"Off", "Monmome", "Transient Monmome", "Scan", "Warm", "Power H/L"};
constexpr const char* kStarHash[] = {"0", "100", "500", "1000"};
constexpr const char* kStunType[] = {"Tx/Rx Inhibit", "Tx Inhibit"};
constexpr const char* kGroupCode[] = {"Off", "A", "B", "C", "D", "#", "*"};
constexpr const char* kDecodeTimeOut[] = {"500", "550", "600",  "650",  "700",  "750",  "800",  "850",
                                          "900", "950", "1000", "1100", "1200", "1300", "1400", "1500"};

constexpr std::span<const char* const> kNone{};

constexpr NormalRange Normal(uint8_t min, uint8_t max, uint8_t defaultValue)
{
    return {true, min, max, defaultValue};
}
constexpr NormalRange kAnyValue{false, 0, 0, 0};

// The settings area (0x120-0x129) and the DTMF settings (0x140-0x146).
// The DTMF transpond bit (0x143, 0x01) is carried through unchanged by every
// window, so it has no row.
// clang-format off
const std::vector<SettingField> kFields = {
    // Optional functions
    {"fOptFun", "cxSQL", "lSQL", "Squelch &level", "", 0x121, 0x0F, 0, M::Item, kNone, {"", 0, 1, 10, ""}, -2, 0, "squelch_level", Normal(0, 9, 5)},
    {"fOptFun", "cxTot", "lTot", "TX Time &Out", "", 0x122, 0xFF, 0, M::Item, kNone, {"Off", 15, 15, 40, ""}, -3, 0, "tx_time_out", Normal(0, 30, 12)},
    {"fOptFun", "cxWavs", "lWavs", "&Voice", "", 0x120, 0x01, 0x02, M::Voice, kVoice, kListed, 0, 0, "voice", kAnyValue},
    {"fOptFun", "cxTone", "lTone", "&Tone", "", 0x120, 0x04, 0, M::Item, kOffOn, kListed, 0, 0, "tone", kAnyValue},
    {"fOptFun", "cxAlt", "lAlt", "Incept &Alarm", "", 0x120, 0x08, 0, M::Item, kOffOn, kListed, 0, 0, "incept_alarm", kAnyValue},
    {"fOptFun", "cxFM", "lFM", "&FM Function", "", 0x120, 0x10, 0, M::Item, kFm, kListed, 0, 0, "fm_function", kAnyValue},
    {"fOptFun", "cxTxDis", "lTxDis", "Vol &Inhibit Tx", "", 0x120, 0xC0, 0, M::Item, kInhibitTx, kListed, 0, 0, "vol_inhibit_tx", kAnyValue},
    {"fOptFun", "cxRate", "lRate", "&Battery Save", "", 0x121, 0x40, 0x30, M::BatterySave, kBatterySave, kListed, 0, 0, "battery_save", kAnyValue},
    {"fOptFun", "cxBats", "lBats", "&Super Save", "", 0x129, 0xFF, 0, M::Item, kNone, {"OFF", 1, 1, 9, "s"}, 0, 0, "super_save", Normal(0, 9, 5)},
    // VOX: all four share byte 0x123
    {"fVoxFun", "cxVoxS", "", "&Vox Function", "", 0x123, 0x10, 0, M::Unticked, kNone, kListed, 0, 0, "vox_function", kAnyValue},
    {"fVoxFun", "cxVoxLv", "lVoxLv", "VOX &Gain Level", "", 0x123, 0x0F, 0, M::Item, kNone, {"", 1, 1, 9, ""}, -3, 0, "gain_level", Normal(0, 8, 4)},
    {"fVoxFun", "cxVoxDv", "lVoxDv", "VOX &Delay Time[s]", "", 0x123, 0x60, 0, M::Item, kVoxDelay, kListed, 0, 0, "delay_time", kAnyValue},
    {"fVoxFun", "cxVoxRs", "lVoxRs", "Vox &Inhibit on Receive", "", 0x123, 0x80, 0, M::Item, kNoYes, kListed, 0, 0, "inhibit_on_receive", kAnyValue},
    // Scan
    {"fScanFun", "cxScanSpeed", "lScanSpeed", "&Scan Speed[ms]", "", 0x125, 0xFF, 0, M::Item, kNone, {"", 100, 50, 9, ""}, 0, 0, "scan_speed", Normal(0, 9, 0)},
    {"fScanFun", "cxScanDely", "lScanDely", "&Dropout Delay Time[s]", "", 0x126, 0xFF, 0, M::Item, kNone, {"", 3, 1, 28, ""}, 0, 0, "dropout_delay_time", Normal(0, 27, 12)},
    {"fScanFun", "cxScanMode", "lScanMode", "Scan &Mode", "", 0, 0, 0, M::NotStored, kScanMode, kListed, 0, 1, "", kAnyValue},
    {"fScanFun", "cxPriCh", "lPriCh", "&Priority Channel", "", 0, 0, 0, M::NotStored, kNone, {"Off", 1, 1, 16, ""}, 0, 0, "", kAnyValue},
    // Side keys
    {"fKeyFun", "cxKeyS1", "L3", "&Short Press", "gKey1", 0x127, 0x0F, 0, M::KeyShort, kShortPress, kListed, -2, 0, "key1_short", Normal(0, 5, 1)},
    {"fKeyFun", "cxKeyL1", "L5", "&Long Press", "gKey1", 0x127, 0xF0, 0, M::KeyLong, kLongPress, kListed, -2, 0, "key1_long", Normal(0, 5, 3)},
    {"fKeyFun", "cxKeyS2", "L6", "Short &Press", "gKey2", 0x128, 0x0F, 0, M::KeyShort, kShortPress, kListed, -2, 0, "key2_short", Normal(0, 5, 5)},
    {"fKeyFun", "cxKeyL2", "L4", "L&ong Press", "gKey2", 0x128, 0xF0, 0, M::KeyLong, kLongPress, kListed, -2, 0, "key2_long", Normal(0, 5, 4)},
    // DTMF
    {"fDtmfFun", "cxRate", "lRate", "DTMF S&peed[digit/s]", "cgEnCode", 0x140, 0x0F, 0, M::Item, kNone, {"", 4, 1, 12, ""}, 0, 0, "dtmf_speed", Normal(0, 11, 2)},
    {"fDtmfFun", "cxFiSv", "lFiSv", "&First Digit Time [ms]", "cgEnCode", 0x141, 0x0F, 0, M::Item, kNone, {"", 0, 100, 11, ""}, 0, 0, "first_digit_time", Normal(0, 10, 0)},
    {"fDtmfFun", "cxFiDv", "lFiDv", "First Digit De&lay [ms]", "cgEnCode", 0x141, 0xF0, 0, M::Item, kNone, {"", 100, 100, 10, ""}, 0, 0, "first_digit_delay", Normal(0, 9, 0)},
    {"fDtmfFun", "cxEfSv", "lEfSv", "* &and # Tone [ms]", "cgEnCode", 0x142, 0x30, 0, M::StarHashTone, kStarHash, kListed, 0, 0, "star_and_hash_tone", Normal(0, 3, 3)},
    {"fDtmfFun", "cxTxTs", "lTxTs", "Code &Space Time[ms]", "cgEnCode", 0x146, 0xF0, 0, M::Item, kNone, {"None", 600, 100, 15, ""}, 0, 0, "code_space_time", Normal(0, 15, 15)},
    {"fDtmfFun", "cxBeep", "", "DTMF Si&de Tone", "cgEnCode", 0x142, 0x40, 0, M::Ticked, kNone, kListed, 0, 0, "side_tone", kAnyValue},
    // PTT-ID mode: the window always works with BOTH.
    {"fDtmfFun", "", "", "", "", 0x142, 0x03, 0, M::Always3, kNone, kListed, 0, 0, "", kAnyValue},
    {"fDtmfFun", "cxTxYs", "lTxYs", "T&x Decode", "cgDeCode", 0x142, 0x04, 0, M::Item, kOffOn, kListed, 0, 0, "tx_decode", kAnyValue},
    {"fDtmfFun", "cxIdTs", "", "Decode &Tone", "cgDeCode", 0x142, 0x08, 0, M::Ticked, kNone, kListed, 0, 0, "decode_tone", kAnyValue},
    {"fDtmfFun", "cxStunSw", "lStunSw", "Stun T&ype", "cgStun", 0x142, 0x80, 0, M::Item, kStunType, kListed, 0, 0, "stun_type", kAnyValue},
    {"fDtmfFun", "cxGroup", "lGroup", "&Group Code", "cgDeCode", 0x144, 0x0F, 0, M::Item, kGroupCode, kListed, 0, 0, "group_code", Normal(0, 6, 0)},
    {"fDtmfFun", "cxBack", "lBack", "Auto &Reset Time [s]", "cgDeCode", 0x145, 0x3F, 0, M::Item, kNone, {"Off", 1, 1, 60, ""}, 0, 0, "auto_reset_time", Normal(0, 60, 10)},
    {"fDtmfFun", "cxBkTs", "", "Reset To&ne", "cgDeCode", 0x145, 0x40, 0, M::Ticked, kNone, kListed, 0, 0, "reset_tone", Normal(0, 1, 0)},
    {"fDtmfFun", "cxRxTs", "lRxTs", "Decode Time &Out[ms]", "cgDeCode", 0x146, 0x0F, 0, M::Item, kDecodeTimeOut, kListed, 0, 0, "decode_time_out", Normal(0, 10, 0)},
};
// clang-format on

uint8_t& ByteOf(const SettingField& f)
{
    return ALL.Image[f.offset];
}

uint8_t Get(const SettingField& f, uint8_t mask)
{
    return GetBitField(ByteOf(f), mask, 0xFF, 0xFF);
}

void Put(const SettingField& f, uint8_t mask, int value)
{
    PutBitField(ByteOf(f), mask, static_cast<uint8_t>(value));
}

// An on/off bit in front of a value that keeps its last setting while off
// (battery save ratio, voice language): item 0 is off, item n is on with n - 1.
int SwitchedItem(const SettingField& f)
{
    return Get(f, f.mask) ? Get(f, f.valueMask) + 1 : 0;
}

void StoreSwitched(const SettingField& f, int item)
{
    if (item <= 0) {
        Put(f, f.mask, 0);
        return;
    }
    Put(f, f.mask, 1);
    Put(f, f.valueMask, item - 1);
}

// The "* and #" tone list shows "0" first but the radio calls it 3.
int StarHashItem(int stored)
{
    return (stored + 1) % 4;
}

int StarHashStored(int item)
{
    return (item + 3) % 4;
}

} // namespace

const std::vector<SettingField>& SettingFields()
{
    return kFields;
}

std::vector<const SettingField*> SettingFieldsOf(const std::string& window)
{
    std::vector<const SettingField*> rows;
    for (const SettingField& f : kFields)
        if (window == f.window)
            rows.push_back(&f);
    return rows;
}

const SettingGroup* FindSettingGroup(const std::string& window, const std::string& group)
{
    static constexpr SettingGroup kGroups[] = {
        {"fKeyFun", "gKey1", "L1", "Key - 1"},
        {"fKeyFun", "gKey2", "L2", "Key - 2"},
    };
    for (const SettingGroup& g : kGroups)
        if (window == g.window && group == g.group)
            return &g;
    return nullptr;
}

const SettingField* FindSettingField(const std::string& window, const std::string& control)
{
    for (const SettingField& f : kFields)
        if (window == f.window && control == f.control)
            return &f;
    return nullptr;
}

bool IsCheckBox(const SettingField& f)
{
    return f.mapping == M::Ticked || f.mapping == M::Unticked;
}

std::string ItemText(const SettingField& f, int item)
{
    if (item < 0)
        return {};
    if (!f.items.empty())
        return static_cast<size_t>(item) < f.items.size() ? f.items[static_cast<size_t>(item)] : std::string();
    const bool hasBefore = *f.range.before != '\0';
    if (hasBefore && item == 0)
        return f.range.before;
    const int n = item - (hasBefore ? 1 : 0);
    return std::to_string(f.range.first + f.range.step * n) + f.range.suffix;
}

std::vector<std::string> ItemTexts(const SettingField& f)
{
    std::vector<std::string> texts;
    const int count = !f.items.empty() ? static_cast<int>(f.items.size())
                                       : f.range.count + (*f.range.before != '\0' ? 1 : 0);
    for (int i = 0; i < count; ++i)
        texts.push_back(ItemText(f, i));
    return texts;
}

int FieldItem(const SettingField& f)
{
    switch (f.mapping) {
    case M::Item:
    case M::Ticked:
    case M::KeyShort:
    case M::KeyLong:
        return Get(f, f.mask);
    case M::Unticked:
        return Get(f, f.mask) ? 0 : 1;
    case M::BatterySave:
    case M::Voice:
        return SwitchedItem(f);
    case M::StarHashTone:
        return StarHashItem(Get(f, f.mask));
    case M::Always3:
        return 3;
    case M::NotStored:
        return f.shownItem;
    }
    return 0;
}

void StoreFieldItem(const SettingField& f, int item)
{
    switch (f.mapping) {
    case M::Item:
    case M::Ticked:
    case M::KeyShort:
    case M::KeyLong:
        Put(f, f.mask, item);
        break;
    case M::Unticked:
        Put(f, f.mask, item ? 0 : 1);
        break;
    case M::BatterySave:
    case M::Voice:
        StoreSwitched(f, item);
        break;
    case M::StarHashTone:
        Put(f, f.mask, StarHashStored(item));
        break;
    case M::Always3:
        Put(f, f.mask, 3);
        break;
    case M::NotStored:
        break;
    }
}

std::vector<std::string> KeyItems(const std::vector<std::string>& entries)
{
    std::vector<std::string> items;
    for (const std::string& e : entries) {
        std::string t = TrimBlanks(e);
        if (!t.empty())
            items.push_back(t);
    }
    return items;
}

std::string KeyTextOfCode(const std::vector<std::string>& entries, int code, bool shortPress)
{
    auto entry = [&](int i) {
        return i >= 0 && static_cast<size_t>(i) < entries.size() ? TrimBlanks(entries[static_cast<size_t>(i)])
                                                                 : std::string();
    };
    std::string text = entry(code);
    if (shortPress && text.empty())
        text = entry(1);
    return text;
}

int KeyCodeOfText(const std::vector<std::string>& entries, const std::string& text)
{
    // Entries are offered trimmed, so they are compared trimmed: a translated
    // entry with a blank around it must still give its own code back.
    for (size_t i = 0; i < entries.size(); ++i)
        if (TrimBlanks(entries[i]) == text)
            return static_cast<int>(i);
    return static_cast<int>(entries.size());
}

std::vector<std::string> DefaultKeyEntries(bool shortPress)
{
    const auto& list = shortPress ? kShortPress : kLongPress;
    return {std::begin(list), std::end(list)};
}
