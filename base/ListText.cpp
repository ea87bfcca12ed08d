// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ListText.h"

namespace {

bool IsBlankOrControl(char c)
{
    unsigned char u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

} // namespace

std::vector<std::string> SplitList(std::string_view text)
{
    std::vector<std::string> entries;
    size_t i = 0;
    // A NUL ends the text as well as its real end does.
    auto atEnd = [&](size_t at) { return at >= text.size() || text[at] == '\0'; };
    auto skipBlanks = [&] {
        while (!atEnd(i) && IsBlankOrControl(text[i]))
            ++i;
    };

    skipBlanks();
    while (!atEnd(i)) {
        std::string entry;
        if (text[i] == '"') {
            // Quoted: blanks and '|' belong to the entry, "" is one quote,
            // and an unclosed quote runs to the end.
            ++i;
            while (!atEnd(i)) {
                if (text[i] == '"') {
                    if (!atEnd(i + 1) && text[i + 1] == '"') {
                        entry += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                entry += text[i++];
            }
        } else {
            size_t start = i;
            while (!atEnd(i) && static_cast<unsigned char>(text[i]) > ' ' && text[i] != '|')
                ++i;
            entry.assign(text.substr(start, i - start));
        }
        entries.push_back(std::move(entry));

        skipBlanks();
        if (!atEnd(i) && text[i] == '|') {
            if (atEnd(i + 1))
                entries.emplace_back(); // "a|": the trailing separator opens an empty entry
            ++i;
            skipBlanks();
        }
    }
    return entries;
}
