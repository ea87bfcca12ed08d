// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts outside the message table: each section of the language file is
// declared once, by its name and its keys with their English texts, and read
// through one cache of the current language file that a language switch
// empties. A text may hold %1 to %9, filled in from the arguments.
#include <span>
#include <string>
#include <vector>

struct TextKey {
    const char* key;
    const char* english;
};

struct TextSection {
    const char* name;
    std::span<const TextKey> keys; // in the order of the language files
};

// The text of `key` in the current language with its arguments filled in;
// the key itself when the section has no such text.
std::string SectionText(const TextSection& section, const std::string& key, const std::vector<std::string>& args = {});
// The English text of `key`, whatever the language; the key itself when the
// section has no such text.
std::string EnglishText(const TextSection& section, const std::string& key);
// A text of another section of the current language file (a window's label
// or list item), or `fallback` when the file has none.
std::string LanguageFileText(const std::string& section, const std::string& key, const std::string& fallback);
// Forgets the language file read, so the next text reads the current one.
void ReloadTexts();
