// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/SheetTexts.h"

#include <algorithm>
#include <array>

namespace {
constexpr auto kTexts = std::to_array<SheetTextKey>({
    // The Edit menu and the grid's context menu.
    {"Undo", "&Undo"},
    {"UndoNamed", "&Undo %1"},
    {"Redo", "&Redo"},
    {"RedoNamed", "&Redo %1"},
    {"Copy", "&Copy"},
    {"Paste", "&Paste"},
    {"Clear", "C&lear"},
    {"MoveUp", "Move &Up"},
    {"MoveDown", "Move &Down"},
    {"InsertChannel", "&Insert Empty Channel"},
    {"FillDown", "&Fill Down"},
    {"Sort", "Sort by &RX frequency"},
    // Names of changes.
    {"ChannelChange", "%1 of channel %2"},
    // Messages.
    {"NoFreeSlot", "The last channel is not empty: there is no room to insert a channel."},
    {"TooManyRows", "%1 rows do not fit below channel %2: only %3 can be pasted. Paste them and drop the rest?"},
    {"PasteReport", "%1 of %2 rows were pasted. These lines were not taken:"},
    {"RowRefused", "Line %1: %2"},
    {"MoreRefused", "... and %1 more lines."},
    {"NotFrequency", "not a frequency: %1"},
    {"NotTone", "not a tone: %1"},
    {"NotItem", "not an item of %2: %1"},
    {"NoRxColumn", "The pasted text has no RX frequency column: nothing was pasted."},
    {"NothingToPaste", "The clipboard holds no channels."},
    {"PasteChanged", "These values were stored as the radio can hold them:"},
    {"ValueChanged", "Line %1: %2 was stored as %3"},
});

TSectionTexts& Texts()
{
    static TSectionTexts texts(kSheetSection, kTexts);
    return texts;
}
} // namespace

std::span<const SheetTextKey> SheetTextKeys()
{
    return kTexts;
}

std::string SheetText(const std::string& key, const std::vector<std::string>& args)
{
    return Texts().Text(key, args);
}

std::string SheetName(const std::string& key)
{
    std::string text = SheetText(key);
    // A key letter in brackets after the text, "(&P)", goes whole.
    const size_t bracket = text.find("(&");
    if (bracket != std::string::npos && bracket + 3 < text.size() && text[bracket + 3] == ')')
        text.erase(bracket, 4);
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    return text;
}

void ReloadSheetTexts()
{
    Texts().Reload();
}
