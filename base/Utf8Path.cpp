// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Utf8Path.h"

std::filesystem::path PathFromUtf8(std::string_view utf8)
{
    try {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    } catch (const std::exception&) {
        // Bytes that are not UTF-8 name no file where paths are UTF-16;
        // taken as they come, they at least fail as a missing file would.
        return std::filesystem::path(std::string(utf8));
    }
}

std::string Utf8FromPath(const std::filesystem::path& path)
{
    try {
        const std::u8string utf8 = path.u8string();
        return std::string(utf8.begin(), utf8.end());
    } catch (const std::exception&) {
        return {}; // a name no UTF-8 can hold (a lone UTF-16 surrogate)
    }
}
