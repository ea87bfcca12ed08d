// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/formats/PrintContent.h"

#include <algorithm>

#include "base/IniFile.h"
#include "core/State.h"
#include "editors/ChannelColumns.h"
#include "image/ChannelCodec.h"
#include "image/ChannelFields.h"
#include "image/DtmfDigits.h"
#include "image/formats/InterchangeTexts.h"
#include "image/formats/JsonDump.h"
#include "image/SettingFields.h"
#include "image/Stamp.h"
#include "settings/Language.h"

namespace {
// The texts the windows show, as the language file relabels them.
class WindowTexts {
public:
    WindowTexts() : file_(LanguageFilePath(ALL.LanguageName.empty() ? "English" : ALL.LanguageName)) {}

    std::string Caption(const std::string& section, const std::string& name, const std::string& design) const
    {
        return Plain(file_.ReadString(section, name + ".Caption", design));
    }
    std::string Item(const std::string& section, const std::string& name, int number, const std::string& design) const
    {
        return file_.ReadString(section, name + "." + std::to_string(number), design);
    }

private:
    // Without the access key of a caption: "&Tone", or "(&T)" after the text.
    static std::string Plain(std::string text)
    {
        const size_t marked = text.find("(&");
        if (marked != std::string::npos && marked + 3 < text.size() && text[marked + 3] == ')')
            text.erase(marked, 4);
        text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
        return text;
    }
    TIniFile file_;
};

constexpr const char* kGridSection = "fChsInfo";

void AddChannels(PrintContent& content, const WindowTexts& texts)
{
    const auto columns = ChannelColumns();
    std::vector<int> shown; // field numbers, 1 for the channel number
    for (size_t i = 0; i < columns.size(); ++i) {
        const std::string key = columns[i].key;
        if (key.empty() || key[0] != 'S')
            continue;
        std::string value = texts.Item(kGridSection, "ColShow", static_cast<int>(i) + 1, columns[i].value);
        std::string title = value.substr(value.find('@') + 1);
        std::replace(title.begin(), title.end(), '|', ' ');
        content.columns.push_back(title);
        shown.push_back(static_cast<int>(i) + 1);
    }
    // The grid's word for no tone: the first item of its tone list.
    const std::string none = texts.Item(kGridSection, "cxDcts", 0, "None");
    TChannel c;
    for (int n = 1; n <= std::min(ALL.ChannelCount, kMaxChannels); ++n) {
        if (!DecodeChannel(n, c))
            continue;
        std::vector<std::string> row;
        for (int number : shown) {
            const ChannelField* f = FindChannelField(number);
            if (!f) {
                row.push_back(std::to_string(n));
                continue;
            }
            std::string text = ChannelFieldText(*f, c);
            if (f->member)
                text = texts.Item(kGridSection, f->comboName, c.*(f->member), text);
            else if (text.empty() && *f->comboName != '\0')
                text = none;
            row.push_back(text);
        }
        content.rows.push_back(std::move(row));
    }
}

// A field's label, after its group's label when the group has one (the
// short and long press of each side key).
std::string Label(const WindowTexts& texts, const SettingField& f, const char* name)
{
    std::string label = texts.Caption(f.window, name, f.caption);
    if (const SettingGroup* g = FindSettingGroup(f.window, f.group))
        label = texts.Caption(f.window, g->label, g->caption) + ": " + label;
    return label;
}

// The title each settings window is made with; the language file may give another.
std::string DesignTitle(const std::string& window)
{
    static const std::pair<const char*, const char*> titles[] = {
        {"fOptFun", "Optional Function"}, {"fVoxFun", "Vox Function"},   {"fScanFun", "Scan Information"},
        {"fKeyFun", "Key Function"},      {"fDtmfFun", "DTMF Function"},
    };
    for (const auto& [name, title] : titles)
        if (window == name)
            return title;
    return window;
}

void AddSettings(PrintContent& content, const WindowTexts& texts)
{
    const std::string yes = InterchangeText("PrintTicked");
    const std::string no = InterchangeText("PrintUnticked");
    for (const JsonSettingGroup& g : JsonSettingGroups()) {
        content.settingGroups.push_back({texts.Caption(g.window, g.window, DesignTitle(g.window)), {}});
        auto& settings = content.settingGroups.back().settings;
        if (std::string(g.window) == kJsonDtmfWindow)
            for (const DtmfStringField& s : DtmfStringFields())
                settings.emplace_back(texts.Caption(g.window, s.label, s.caption), DtmfStringText(s));
        for (const SettingField* f : SettingFieldsOf(g.window)) {
            if (*f->jsonKey == '\0')
                continue;
            const int item = FieldItem(*f);
            if (IsCheckBox(*f)) {
                settings.emplace_back(Label(texts, *f, f->control), item ? yes : no);
            } else if (f->mapping == FieldMapping::KeyShort || f->mapping == FieldMapping::KeyLong) {
                // The list translated first, then the code looked up in it as
                // the window does: a code without an entry of its own shows
                // another entry, in the same language.
                const bool shortPress = f->mapping == FieldMapping::KeyShort;
                std::vector<std::string> entries = DefaultKeyEntries(shortPress);
                for (size_t i = 0; i < entries.size(); ++i)
                    entries[i] = texts.Item(g.window, shortPress ? "List_Short" : "List_Long", static_cast<int>(i),
                                            entries[i]);
                settings.emplace_back(Label(texts, *f, f->label), KeyTextOfCode(entries, item, shortPress));
            } else {
                settings.emplace_back(Label(texts, *f, f->label),
                                      texts.Item(g.window, f->control, item, ItemText(*f, item)));
            }
        }
    }
}
} // namespace

PrintContent ComposePrint(const std::string& fileName)
{
    const WindowTexts texts;
    PrintContent content;
    content.header = {
        {InterchangeText("PrintModel"), ALL.ModelName},
        {InterchangeText("PrintBand"), ALL.BandText},
        {InterchangeText("PrintFile"), fileName.empty() ? InterchangeText("PrintUnsaved") : fileName},
        {InterchangeText("PrintWritten"), FormatStamp(ALL.Image.data() + kWriteStamp)},
        {InterchangeText("PrintSerial"), SerialNumberText(ALL.Image.data() + kSerialNumber)},
    };
    content.channelsTitle = InterchangeText("PrintChannels");
    AddChannels(content, texts);
    content.settingsTitle = InterchangeText("PrintSettings");
    AddSettings(content, texts);
    content.pagePattern = InterchangeText("PrintPage", {"%1", "%2"}); // filled in by the painter
    return content;
}
