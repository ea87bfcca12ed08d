// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A section of texts of the current language file, with built-in English
// defaults: read on first use and read again when the language changes. A
// text may hold %1 to %9, filled in from the arguments.
#include <map>
#include <span>
#include <string>
#include <vector>

struct SectionTextKey {
    const char* key;
    const char* english;
};

class TSectionTexts {
public:
    TSectionTexts(const char* section, std::span<const SectionTextKey> keys);

    // The text of `key` with its arguments filled in; the key itself when
    // the table has no such text.
    std::string Text(const std::string& key, const std::vector<std::string>& args = {});
    // Forgets the texts read, so the next call reads the language file.
    void Reload();

private:
    const char* section_;
    std::span<const SectionTextKey> keys_;
    std::string path_;
    std::map<std::string, std::string> texts_;
};
