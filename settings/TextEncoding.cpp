// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/TextEncoding.h"

#include <cerrno>
#include <cstddef>
#include <iconv.h>

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

// One conversion descriptor for one call; closed when it goes.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (ok())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts `in` and appends to `out`. Returns how many input bytes were
    // consumed; stops at the first byte sequence that cannot be converted
    // (invalid, incomplete at the end, or not representable).
    size_t Convert(std::string_view in, std::string& out)
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr); // back to the initial state
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char buffer[4096];
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            size_t r = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<size_t>(outPtr - buffer));
            if (r == static_cast<size_t>(-1) && errno != E2BIG)
                break;
        }
        // Flush any shift state; neither encoding used here has one, but
        // this keeps the descriptor honest.
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        iconv(cd_, nullptr, nullptr, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        return in.size() - inLeft;
    }

private:
    iconv_t cd_;
};

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
    Converter conv("UTF-8", "GB18030");
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
    Converter conv("GB18030", "UTF-8");
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
