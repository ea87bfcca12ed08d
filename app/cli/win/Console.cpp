// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows console in UTF-8, and the arguments as the system keeps them
// (UTF-16), not as the C runtime narrowed them to the ANSI code page.
#include "app/cli/Console.h"

#include <windows.h>
#include <shellapi.h>

#include "base/win/WideText.h"

void PrepareConsole()
{
    SetConsoleOutputCP(CP_UTF8);
    SetConsoleCP(CP_UTF8);
}

std::vector<std::string> CommandLineArguments(int argc, char** argv)
{
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(Utf8FromWide(wide[i]));
    LocalFree(wide);
    return arguments;
}
