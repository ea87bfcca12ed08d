// SPDX-License-Identifier: GPL-3.0-or-later
// Linux: the terminal and the arguments are UTF-8 already.
#include "app/cli/Console.h"

void PrepareConsole() {}

std::vector<std::string> CommandLineArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv, argv + argc);
}
