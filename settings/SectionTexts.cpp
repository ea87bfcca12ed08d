// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SectionTexts.h"

#include "base/IniFile.h"
#include "core/State.h"
#include "settings/Language.h"

TSectionTexts::TSectionTexts(const char* section, std::span<const SectionTextKey> keys)
    : section_(section), keys_(keys)
{
}

std::string TSectionTexts::Text(const std::string& key, const std::vector<std::string>& args)
{
    const std::string path = LanguageFilePath(ALL.LanguageName.empty() ? "English" : ALL.LanguageName);
    if (path != path_ || texts_.empty()) {
        path_ = path;
        texts_.clear();
        TIniFile file(path);
        for (const SectionTextKey& t : keys_)
            texts_[t.key] = file.ReadString(section_, t.key, t.english);
    }
    auto it = texts_.find(key);
    const std::string& text = it != texts_.end() ? it->second : key;
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

void TSectionTexts::Reload()
{
    texts_.clear();
}
