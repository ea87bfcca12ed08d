// SPDX-License-Identifier: GPL-3.0-or-later
// Windows: the program the shell starts for a file, as Explorer would.
#include "app/ui/HelpTopics.h"

#include <windows.h>
#include <shellapi.h>

bool DesktopHasViewerFor(const QString& path)
{
    wchar_t program[MAX_PATH] = L"";
    const std::wstring file = path.toStdWString();
    return reinterpret_cast<INT_PTR>(FindExecutableW(file.c_str(), nullptr, program)) > 32 && program[0] != L'\0';
}
