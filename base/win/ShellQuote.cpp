// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ShellQuote.h"

// The Windows command prompt knows only double quotes, and PowerShell takes
// them too. Paths and device names cannot hold a double quote there.
std::string ShellQuoted(const std::string& text)
{
    return '"' + text + '"';
}
