// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program keeps every text and path as UTF-8 in std::string; Windows
// takes them as UTF-16 through its wide-character calls (CreateFileW and the
// like), so a user folder such as C:\Users\张伟\ works whatever the system's
// code page. These two are the one crossing between them.
#include <string>
#include <string_view>

// UTF-8 to UTF-16. Bytes that are not UTF-8 become U+FFFD, as Windows does.
std::wstring WideFromUtf8(std::string_view text);
// UTF-16 to UTF-8. A lone surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view text);
