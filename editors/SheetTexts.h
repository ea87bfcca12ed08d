// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of editing the document like a sheet (undo, the clipboard, the
// channel operations): section "Sheet" of the language files.
#include <string>
#include <vector>

#include "settings/TextCatalogue.h"

extern const TextSection kSheetTexts;

inline std::string SheetText(const std::string& key, const std::vector<std::string>& args = {})
{
    return SectionText(kSheetTexts, key, args);
}
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
