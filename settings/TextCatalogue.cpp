// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/TextCatalogue.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "base/IniFile.h"
#include "core/State.h"
#include "settings/Language.h"

namespace {
// The current language file and what was looked up in it: a text is asked
// for again and again (a grid's cells, a report's rows), a file is scanned
// line by line.
struct Catalogue {
    std::string path;
    std::optional<TIniFile> file;
    std::map<std::pair<std::string, std::string>, std::optional<std::string>> found;
};

Catalogue& Current()
{
    static Catalogue catalogue;
    return catalogue;
}

std::optional<std::string> FileText(const std::string& section, const std::string& key)
{
    Catalogue& c = Current();
    const std::string path = LanguageFilePath(ALL.LanguageName.empty() ? "English" : ALL.LanguageName);
    if (!c.file || c.path != path) {
        c.path = path;
        c.file.emplace(path);
        c.found.clear();
    }
    auto [it, added] = c.found.try_emplace({section, key});
    if (added)
        it->second = c.file->Find(section, key);
    return it->second;
}

const TextKey* Entry(const TextSection& section, const std::string& key)
{
    auto it = std::find_if(section.keys.begin(), section.keys.end(), [&](const TextKey& t) { return key == t.key; });
    return it == section.keys.end() ? nullptr : &*it;
}
} // namespace

std::string SectionText(const TextSection& section, const std::string& key, const std::vector<std::string>& args)
{
    const TextKey* entry = Entry(section, key);
    const std::string text = entry ? FileText(section.name, key).value_or(entry->english) : key;
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            size_t n = static_cast<size_t>(text[i + 1] - '1');
            if (n < args.size())
                out += args[n];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string EnglishText(const TextSection& section, const std::string& key)
{
    const TextKey* entry = Entry(section, key);
    return entry ? entry->english : key;
}

std::string LanguageFileText(const std::string& section, const std::string& key, const std::string& fallback)
{
    return FileText(section, key).value_or(fallback);
}

void ReloadTexts()
{
    Current().file.reset();
}
