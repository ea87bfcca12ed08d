// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system's converter between two text encodings, named as iconv names
// them ("UTF-8", "GB18030"), for one call; the encodings of TextEncoding.h
// are built on it.
#include <cstddef>
#include <string>
#include <string_view>

class TTextConverter {
public:
    TTextConverter(const char* to, const char* from);
    ~TTextConverter();
    TTextConverter(const TTextConverter&) = delete;
    TTextConverter& operator=(const TTextConverter&) = delete;

    // False when the system cannot convert between the two.
    bool ok() const;

    // Converts `in` and appends to `out`. Returns how many input bytes were
    // consumed; stops at the first byte sequence that cannot be converted
    // (invalid, incomplete at the end, or not representable).
    size_t Convert(std::string_view in, std::string& out);

private:
    void* handle_; // the system's descriptor
};
