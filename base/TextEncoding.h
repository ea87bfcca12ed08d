// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text encodings of files made elsewhere.
#include <string>
#include <string_view>

bool IsValidUtf8(std::string_view bytes);
// The text with every byte that is not part of well-formed UTF-8 made '?'.
std::string ValidUtf8(std::string_view bytes);
// GB18030 (a superset of GBK and GB2312) to UTF-8. Bytes that do not decode
// become U+FFFD; never fails.
std::string Gb18030ToUtf8(std::string_view bytes);
// UTF-8 to GB18030; characters that cannot be encoded become '?'.
std::string Utf8ToGb18030(std::string_view text);
