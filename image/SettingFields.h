// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list and check-box settings of the editor windows (keys, options, VOX,
// scan, DTMF) as one table. Each row names its window, its control, the
// image byte and mask it lives in and the items it offers; the windows build
// and fill their controls from it, the command line's dump prints it and the
// normaliser keeps each field in its range, so no caller knows a byte or a
// mask. The few fields whose stored value is not
// simply the item number say so through their mapping, and each of those
// mappings is one small function in SettingFields.cpp.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

enum class FieldMapping {
    Item,         // stored value = item number
    Ticked,       // check box: ticked = 1
    Unticked,     // check box: ticked = 0 (VOX on is bit 0x10 clear)
    BatterySave,  // bit 0x40 on/off, bits 0x30 the ratio (kept while off)
    Voice,        // bit 0x01 on/off, bit 0x02 the language (kept while off)
    StarHashTone, // items "0", "100", "500", "1000" stored as 3, 0, 1, 2
    KeyShort,     // side-key code found by text in the short-press list
    KeyLong,      // side-key code found by text in the long-press list
    Always3,      // not shown; every store of its window writes 3
    NotStored,    // shown with a fixed selection, kept nowhere
};

// Items counted from a number: `before` (when not empty) is item 0, then
// `count` numbers first, first + step, ... each followed by `suffix`.
struct ItemRange {
    const char* before;
    int first;
    int step;
    int count;
    const char* suffix;
};

// The values a field may hold once a document is made, read or opened; any
// other is put back to `defaultValue`. Fields without one keep any value.
struct NormalRange {
    bool checked;
    uint8_t min;
    uint8_t max;
    uint8_t defaultValue;
};

struct SettingField {
    const char* window;  // component name of the window ("fOptFun")
    const char* control; // component name of the control ("cxSQL")
    const char* label;   // component name of its label; empty for a check box
    const char* caption; // label text, or the check box's caption
    const char* group;   // component name of the group it sits in, or ""
    uint16_t offset;     // image byte
    uint8_t mask;        // the field; for BatterySave and Voice the on/off bit
    uint8_t valueMask;   // BatterySave and Voice: the bits kept while off; else 0
    FieldMapping mapping;
    std::span<const char* const> items; // fixed items, or empty when `range` gives them
    ItemRange range;
    int tag;             // drop-down Tag for the language file (0, -2, -3)
    int shownItem;       // NotStored only: the item every new window shows
    const char* jsonKey; // key in the command line's dump, "" for none
    NormalRange normal;
};

const std::vector<SettingField>& SettingFields();

// A group of fields that carries a label of its own (the two side keys):
// the label's component name and design caption.
struct SettingGroup {
    const char* window;
    const char* group;
    const char* label;
    const char* caption;
};
// nullptr for a group without a label.
const SettingGroup* FindSettingGroup(const std::string& window, const std::string& group);
// The rows of one window, in table order.
std::vector<const SettingField*> SettingFieldsOf(const std::string& window);
const SettingField* FindSettingField(const std::string& window, const std::string& control);

bool IsCheckBox(const SettingField& field);
// The design (English) item texts of a list field.
std::vector<std::string> ItemTexts(const SettingField& field);
// The text of item `item`, also for an item one past a counted list (a
// stored scan speed of 9 reads "550"); empty for an item a fixed list lacks.
std::string ItemText(const SettingField& field, int item);

// The item (or 0/1 tick) the field's control shows for the image as it is.
// Key fields give their stored code; the window turns it into a text.
int FieldItem(const SettingField& field);
// Stores an item (or tick) chosen in the control; for a key field `item` is
// the code. NotStored fields store nothing, Always3 fields store 3 whatever
// `item` is.
void StoreFieldItem(const SettingField& field, int item);

// Side keys. `entries` is a hidden list of the key window, code = position.
// The texts offered: the entries trimmed, empty ones left out.
std::vector<std::string> KeyItems(const std::vector<std::string>& entries);
// The text shown for a stored code: its entry; a short press whose entry is
// empty (code 2, not offered) shows entry 1.
std::string KeyTextOfCode(const std::vector<std::string>& entries, int code, bool shortPress);
// The code of a shown text: the first entry equal to it (blanks around an
// entry ignored), or the number of entries when none is.
int KeyCodeOfText(const std::vector<std::string>& entries, const std::string& text);
// The design entries of the two hidden lists.
std::vector<std::string> DefaultKeyEntries(bool shortPress);
