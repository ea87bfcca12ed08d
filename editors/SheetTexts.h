// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of editing the document like a sheet (undo, the clipboard, the
// channel operations): section "Sheet" of the current language file, with
// built-in English defaults. A text may hold %1 to %3, filled in from the
// arguments.
#include <span>
#include <string>
#include <vector>

#include "settings/SectionTexts.h"

using SheetTextKey = SectionTextKey;
// Every text, in the order of the language files.
std::span<const SheetTextKey> SheetTextKeys();
inline constexpr const char* kSheetSection = "Sheet";

// The text of `key` in the current language with its arguments filled in;
// the key itself when the table has no such text.
std::string SheetText(const std::string& key, const std::vector<std::string>& args = {});
// The same without the '&' that marks a menu item's key letter, for undo
// names ("Move Up" rather than "Move &Up").
std::string SheetName(const std::string& key);
// Undo names of a value changed, in the current language each time they
// are asked: the channel grid's column of channel `field` ("RX Frequency of
// channel 6"), and a control of a settings window by its label's component
// name and design caption, after its group's label when the group has one
// ("Key - 1: Long Press").
std::string ChannelChangeName(int field, int channel);
std::string FieldChangeName(const std::string& window, const std::string& name, const std::string& caption,
                            const std::string& group);
// Forgets the texts read, so the next call reads the current language file.
void ReloadSheetTexts();
