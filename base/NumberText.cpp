// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

std::string TrimBlanks(std::string_view text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ')
        --end;
    return std::string(text.substr(begin, end - begin));
}

std::string UpperAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::optional<double> ParseNumber(std::string_view text)
{
    std::string t = TrimBlanks(text);
    if (t.empty())
        return std::nullopt;
    // Check the shape ourselves: from_chars alone would accept "inf", "nan"
    // and hex forms, and would stop quietly at a second point.
    size_t i = 0;
    if (t[i] == '+' || t[i] == '-')
        ++i;
    size_t digits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            ++i;
        size_t expDigits = 0;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    const char* first = t.data();
    if (*first == '+')
        ++first;
    double value = 0;
    auto result = std::from_chars(first, t.data() + t.size(), value);
    if (result.ec != std::errc() || result.ptr != t.data() + t.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> ParseInteger(std::string_view text)
{
    std::string t = TrimBlanks(text);
    if (t.empty())
        return std::nullopt;
    const char* first = t.data();
    if (*first == '+')
        ++first;
    int value = 0;
    auto result = std::from_chars(first, t.data() + t.size(), value);
    if (result.ec != std::errc() || result.ptr != t.data() + t.size())
        return std::nullopt;
    return value;
}

std::string FormatFixed(double value, int decimals, int minIntDigits)
{
    if (!std::isfinite(value))
        value = 0;
    decimals = std::max(decimals, 0);
    // 14 significant digits first, so that the rounding below works on the
    // decimal the user meant and not on its binary neighbour. Near the
    // largest double those digits round past it; the shortest exact digits
    // are taken there instead, so the text always reads back as a number.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    double rounded = 0;
    if (std::from_chars(buf, res.ptr, rounded).ec == std::errc::result_out_of_range)
        res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    std::string sci(buf, res.ptr);
    bool negative = false;
    size_t pos = 0;
    if (sci[pos] == '-') {
        negative = true;
        ++pos;
    }
    std::string mantissa;
    size_t ePos = sci.find('e');
    for (size_t i = pos; i < ePos; ++i)
        if (sci[i] != '.')
            mantissa += sci[i];
    int exponent = std::atoi(sci.c_str() + ePos + 1);
    // mantissa holds digits d0 d1 d2 ... with the point after d0, times 10^exponent.
    // Build the integer part and enough fraction digits, then round half up.
    int pointIndex = exponent + 1; // digits before the point
    std::string digits = mantissa;
    if (pointIndex <= 0) {
        digits = std::string(static_cast<size_t>(-pointIndex) + 1, '0') + digits;
        pointIndex = 1;
    }
    size_t wanted = static_cast<size_t>(pointIndex + decimals);
    if (digits.size() < wanted + 1)
        digits.append(wanted + 1 - digits.size(), '0');
    bool roundUp = digits[wanted] >= '5';
    digits.resize(wanted);
    if (roundUp) {
        int i = static_cast<int>(wanted) - 1;
        while (i >= 0) {
            if (digits[static_cast<size_t>(i)] == '9') {
                digits[static_cast<size_t>(i)] = '0';
                --i;
            } else {
                ++digits[static_cast<size_t>(i)];
                break;
            }
        }
        if (i < 0) {
            digits.insert(digits.begin(), '1');
            ++pointIndex;
        }
    }
    std::string intPart = digits.substr(0, static_cast<size_t>(pointIndex));
    std::string fracPart = digits.substr(static_cast<size_t>(pointIndex));
    size_t nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? std::string() : intPart.substr(nz);
    if (static_cast<int>(intPart.size()) < minIntDigits)
        intPart.insert(0, static_cast<size_t>(minIntDigits) - intPart.size(), '0');
    if (intPart.empty() && decimals == 0)
        intPart.push_back('0'); // a number has at least one digit

    std::string out = intPart;
    if (decimals > 0)
        out += "." + fracPart;
    if (negative && out.find_first_not_of("0.") != std::string::npos)
        out.insert(out.begin(), '-');
    return out;
}
