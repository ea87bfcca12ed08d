// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/TextEncoding.h"

#include <cstddef>

#include "base/TextConverter.h"

namespace {

constexpr const char kReplacementUtf8[] = "\xEF\xBF\xBD"; // U+FFFD

// Length of the well-formed UTF-8 sequence at the start of `s`, or 0 when
// the bytes there are not one (overlong forms, surrogates and code points
// above U+10FFFF are not well-formed).
size_t Utf8SequenceLength(std::string_view s)
{
    auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    auto isTrail = [&](size_t i) { return i < s.size() && (byte(i) & 0xC0) == 0x80; };
    unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return isTrail(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!isTrail(1) || !isTrail(2))
            return 0;
        if (lead == 0xE0 && byte(1) < 0xA0)
            return 0; // overlong
        if (lead == 0xED && byte(1) >= 0xA0)
            return 0; // surrogate
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!isTrail(1) || !isTrail(2) || !isTrail(3))
            return 0;
        if (lead == 0xF0 && byte(1) < 0x90)
            return 0; // overlong
        if (lead == 0xF4 && byte(1) >= 0x90)
            return 0; // above U+10FFFF
        return 4;
    }
    return 0;
}

} // namespace

bool IsValidUtf8(std::string_view bytes)
{
    size_t i = 0;
    while (i < bytes.size()) {
        size_t n = Utf8SequenceLength(bytes.substr(i));
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

std::string ValidUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        size_t n = Utf8SequenceLength(bytes);
        if (n == 0) {
            out += '?';
            n = 1;
        } else {
            out.append(bytes.substr(0, n));
        }
        bytes.remove_prefix(n);
    }
    return out;
}

std::string Gb18030ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    TTextConverter conv("UTF-8", "GB18030");
    if (!conv.ok()) {
        // Without the converter only ASCII can be trusted.
        for (char c : bytes) {
            if (static_cast<unsigned char>(c) < 0x80)
                out += c;
            else
                out += kReplacementUtf8;
        }
        return out;
    }
    while (!bytes.empty()) {
        size_t used = conv.Convert(bytes, out);
        bytes.remove_prefix(used);
        if (!bytes.empty()) {
            // An undecodable byte: mark it and go on with the next one.
            out += kReplacementUtf8;
            bytes.remove_prefix(1);
        }
    }
    return out;
}

std::string Utf8ToGb18030(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    TTextConverter conv("GB18030", "UTF-8");
    while (!text.empty()) {
        // Convert the longest well-formed stretch at once; every ill-formed
        // byte, and every character the converter refuses, becomes '?'.
        size_t good = 0;
        while (good < text.size()) {
            size_t n = Utf8SequenceLength(text.substr(good));
            if (n == 0)
                break;
            good += n;
        }
        std::string_view chunk = text.substr(0, good);
        while (!chunk.empty()) {
            size_t used = conv.ok() ? conv.Convert(chunk, out) : 0;
            if (!conv.ok()) {
                // Only ASCII passes unchanged without the converter.
                size_t n = Utf8SequenceLength(chunk);
                out += n == 1 ? chunk[0] : '?';
                chunk.remove_prefix(n);
                continue;
            }
            chunk.remove_prefix(used);
            if (!chunk.empty()) {
                out += '?';
                chunk.remove_prefix(Utf8SequenceLength(chunk));
            }
        }
        text.remove_prefix(good);
        if (!text.empty()) {
            out += '?';
            text.remove_prefix(1);
        }
    }
    return out;
}
