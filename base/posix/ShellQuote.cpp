// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ShellQuote.h"

// Single quotes take every character as it is but the quote itself, which
// ends the quoting, is written as an escaped quote and quoting starts again.
std::string ShellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}
