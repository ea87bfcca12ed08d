// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system's converter between GB18030 and UTF-8 (iconv on POSIX, the
// code page 54936 of Windows), for settings/TextEncoding, which makes every
// byte the converter stops at a replacement character.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class TTextConverter {
public:
    enum class Direction { FromGb18030, ToGb18030 };
    explicit TTextConverter(Direction direction);
    ~TTextConverter();
    TTextConverter(const TTextConverter&) = delete;
    TTextConverter& operator=(const TTextConverter&) = delete;

    // False when the system has no such converter.
    bool ok() const;
    // Converts `in` and appends to `out`. Returns how many input bytes were
    // consumed; stops at the first byte sequence that cannot be converted
    // (invalid, incomplete at the end, or not representable).
    size_t Convert(std::string_view in, std::string& out);

private:
    struct State;
    std::unique_ptr<State> state_;
};
