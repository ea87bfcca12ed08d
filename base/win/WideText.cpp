// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/win/WideText.h"

#include <windows.h>

#include <climits>

std::wstring WideFromUtf8(std::string_view text)
{
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    if (wideLength <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), wideLength);
    return wide;
}

std::string Utf8FromWide(std::wstring_view text)
{
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(text.size());
    const int utf8Length = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (utf8Length <= 0)
        return {};
    std::string utf8(static_cast<size_t>(utf8Length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(), utf8Length, nullptr, nullptr);
    return utf8;
}
