// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/SheetTexts.h"

#include <algorithm>
#include <array>

#include "editors/ChannelColumns.h"
#include "image/SettingFields.h"

namespace {
constexpr auto kTexts = std::to_array<TextKey>({
    // The Edit menu and the grid's context menu.
    {"Undo", "&Undo"},
    {"UndoNamed", "&Undo %1"},
    {"Redo", "&Redo"},
    {"RedoNamed", "&Redo %1"},
    {"Copy", "&Copy"},
    {"Paste", "&Paste"},
    {"SelectAll", "Select &All Channels"},
    {"Clear", "C&lear"},
    {"MoveUp", "&Move Up"},
    {"MoveDown", "Move Do&wn"},
    {"InsertChannel", "I&nsert Empty Channel"},
    {"FillDown", "&Fill Down"},
    {"FillDownColumn", "&Fill Down %1"},
    {"Sort", "Sor&t by RX frequency"},
    // Names of changes.
    {"ChannelChange", "%1 of channel %2"},
    // What a screen reader hears on the channel grid.
    {"RowName", "Channel %1"},
    {"CellName", "Channel %1, %2, %3"},
    {"CellEmpty", "Channel %1, %2, empty"},
    // Messages.
    {"NoFreeSlot", "The last channel is not empty: there is no room to insert a channel."},
    {"TooManyRows",
     "%1 rows do not fit into channel %2 and the channels after it: only %3 can be pasted. Paste them and drop the rest?"},
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
} // namespace

constinit const TextSection kSheetTexts{"Sheet", kTexts};

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

namespace {
// A caption as a name: without its key letter and the colon after it.
std::string CaptionName(std::string text)
{
    const size_t bracket = text.find("(&");
    if (bracket != std::string::npos && bracket + 3 < text.size() && text[bracket + 3] == ')')
        text.erase(bracket, 4);
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    for (const std::string colon : {":", "\xEF\xBC\x9A"}) // also the full-width one
        if (text.ends_with(colon))
            text.erase(text.size() - colon.size());
    const size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(text.find_first_not_of(' '), end + 1);
}
} // namespace

std::string ChannelChangeName(int field, int channel)
{
    const auto columns = ChannelColumns();
    const std::string design = field >= 1 && field <= static_cast<int>(columns.size())
                                   ? columns[static_cast<size_t>(field - 1)].value
                                   : "";
    std::string title = LanguageFileText("fChsInfo", "ColShow." + std::to_string(field), design);
    title = title.substr(title.find('@') + 1);
    std::replace(title.begin(), title.end(), '|', ' ');
    return SheetText("ChannelChange", {title, std::to_string(channel)});
}

std::string FieldChangeName(const std::string& window, const std::string& name, const std::string& caption,
                            const std::string& group)
{
    std::string text = CaptionName(LanguageFileText(window, name + ".Caption", caption));
    if (const SettingGroup* g = FindSettingGroup(window, group))
        text = CaptionName(LanguageFileText(window, std::string(g->label) + ".Caption", g->caption)) + ": " + text;
    return text;
}
