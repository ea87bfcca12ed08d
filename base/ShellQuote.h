// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A word of a command the user is told to type, quoted for the system's own
// command line, so that a path with blanks reaches the program whole.
#include <string>

std::string ShellQuoted(const std::string& text);
