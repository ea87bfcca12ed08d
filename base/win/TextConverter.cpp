// SPDX-License-Identifier: GPL-3.0-or-later
// GB18030 on Windows: its code page 54936, the system's own encoding of the
// Chinese language files.
#include "base/TextConverter.h"

#include <windows.h>

#include <climits>

#include "base/win/WideText.h"

namespace {

constexpr UINT kGb18030 = 54936;
// GBK, the two-byte part of GB18030 that the Chinese texts are written in,
// where the system lacks GB18030 itself (Wine).
constexpr UINT kGbk = 936;

UINT CodePage()
{
    static const UINT codePage = IsValidCodePage(kGb18030) ? kGb18030 : kGbk;
    return codePage;
}

// The length of the GB18030 character at the start of `s` by its shape
// alone (one, two or four bytes), or 0 when the bytes have no such shape.
size_t Gb18030CharacterLength(std::string_view s)
{
    auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    if (byte(0) < 0x80)
        return 1;
    if (byte(0) == 0x80 || byte(0) == 0xFF || s.size() < 2)
        return 0;
    if ((byte(1) >= 0x40 && byte(1) <= 0x7E) || (byte(1) >= 0x80 && byte(1) <= 0xFE))
        return 2;
    if (byte(1) >= 0x30 && byte(1) <= 0x39 && s.size() >= 4 && byte(2) >= 0x81 && byte(2) <= 0xFE && byte(3) >= 0x30 &&
        byte(3) <= 0x39)
        return 4;
    return 0;
}

// The bytes as UTF-16, or nothing when one of them does not decode.
bool DecodeGb18030(std::string_view bytes, std::wstring& wide)
{
    if (bytes.size() > INT_MAX / 2)
        return false;
    const int length = static_cast<int>(bytes.size());
    const int wideLength = MultiByteToWideChar(CodePage(), MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (wideLength <= 0)
        return false;
    wide.resize(static_cast<size_t>(wideLength));
    return MultiByteToWideChar(CodePage(), MB_ERR_INVALID_CHARS, bytes.data(), length, wide.data(), wideLength) ==
           wideLength;
}

size_t FromGb18030(std::string_view in, std::string& out)
{
    // The longest stretch of well-shaped characters, converted at once; a
    // shaped character the code page does not map stops it one by one.
    size_t shaped = 0;
    while (shaped < in.size()) {
        const size_t n = Gb18030CharacterLength(in.substr(shaped));
        if (n == 0)
            break;
        shaped += n;
    }
    std::wstring wide;
    if (DecodeGb18030(in.substr(0, shaped), wide)) {
        out += Utf8FromWide(wide);
        return shaped;
    }
    size_t used = 0;
    while (used < shaped) {
        const size_t n = Gb18030CharacterLength(in.substr(used));
        if (!DecodeGb18030(in.substr(used, n), wide))
            break;
        out += Utf8FromWide(wide);
        used += n;
    }
    return used;
}

// UTF-16 as GB18030, or nothing when a character has no encoding there.
bool EncodeGb18030(std::wstring_view wide, std::string& out)
{
    if (wide.empty() || wide.size() > INT_MAX / 4)
        return false;
    const int length = static_cast<int>(wide.size());
    // GBK takes no WC_ERR_INVALID_CHARS but tells when it used its default.
    BOOL usedDefault = FALSE;
    const bool gbk = CodePage() == kGbk;
    const DWORD flags = gbk ? WC_NO_BEST_FIT_CHARS : WC_ERR_INVALID_CHARS;
    const int gbLength = WideCharToMultiByte(CodePage(), flags, wide.data(), length, nullptr, 0, nullptr,
                                             gbk ? &usedDefault : nullptr);
    if (gbLength <= 0 || usedDefault)
        return false;
    std::string gb(static_cast<size_t>(gbLength), '\0');
    WideCharToMultiByte(CodePage(), flags, wide.data(), length, gb.data(), gbLength, nullptr, nullptr);
    out += gb;
    return true;
}

// `in` is well-formed UTF-8 (TextEncoding hands over only that). GB18030
// encodes every character; GBK does not, and each it lacks becomes '?'.
size_t ToGb18030(std::string_view in, std::string& out)
{
    const std::wstring wide = WideFromUtf8(in);
    if (EncodeGb18030(wide, out))
        return in.size();
    for (size_t i = 0; i < wide.size(); ++i) {
        const size_t n = IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() ? 2 : 1;
        if (!EncodeGb18030(std::wstring_view(wide).substr(i, n), out))
            out += '?';
        i += n - 1;
    }
    return in.size();
}

// The two directions, told apart by address.
char kFromGb18030;
char kToGb18030;

} // namespace

// The handle tells the direction; null when it is neither of the two.
TTextConverter::TTextConverter(const char* to, const char* from)
    : handle_(std::string_view(from) == "GB18030" && std::string_view(to) == "UTF-8"   ? &kFromGb18030
              : std::string_view(from) == "UTF-8" && std::string_view(to) == "GB18030" ? &kToGb18030
                                                                                       : nullptr)
{
}

TTextConverter::~TTextConverter() = default;

bool TTextConverter::ok() const
{
    return handle_ && IsValidCodePage(CodePage());
}

size_t TTextConverter::Convert(std::string_view in, std::string& out)
{
    if (!ok())
        return 0;
    return handle_ == &kFromGb18030 ? FromGb18030(in, out) : ToGb18030(in, out);
}
