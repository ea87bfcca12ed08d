// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/Stamp.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "base/LocalTime.h"
#include "base/NumberText.h"
#include "core/State.h"

namespace {
int Field(const std::string& text, size_t first, size_t count)
{
    if (first >= text.size())
        return 0;
    return ParseInteger(text.substr(first, count)).value_or(0);
}

std::string TwoDigits(int v)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}
}

void EncodeStamp(size_t offset, const std::string& text)
{
    EncodeStamp(ALL.Image, offset, text);
}

void EncodeStamp(std::span<uint8_t> image, size_t offset, const std::string& text)
{
    if (offset + 7 > image.size())
        return;
    int year = Field(text, 0, 4);
    image[offset + 0] = static_cast<uint8_t>(year & 0xFF);
    image[offset + 1] = static_cast<uint8_t>((year >> 8) & 0xFF);
    image[offset + 2] = static_cast<uint8_t>(Field(text, 5, 2));
    image[offset + 3] = static_cast<uint8_t>(Field(text, 8, 2));
    image[offset + 4] = static_cast<uint8_t>(Field(text, 11, 2));
    image[offset + 5] = static_cast<uint8_t>(Field(text, 14, 2));
    image[offset + 6] = static_cast<uint8_t>(Field(text, 17, 2));
}

std::string NowStampText()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    LocalTime(now, local);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &local);
    return buf;
}

std::string FormatStamp(const uint8_t* b)
{
    if (std::all_of(b, b + kStampSize, [](uint8_t x) { return x == 0xFF; }))
        return {};
    int year = b[0] + 256 * b[1];
    return std::to_string(year) + "-" + TwoDigits(b[2]) + "-" + TwoDigits(b[3]) + " " + TwoDigits(b[4]) + ":" +
           TwoDigits(b[5]) + ":" + TwoDigits(b[6]);
}

std::string SerialNumberText(const uint8_t* b)
{
    std::string text;
    for (size_t i = 0; i < kStampSize; ++i)
        if (b[i] >= 0x21 && b[i] <= 0x7E)
            text += static_cast<char>(b[i]);
    return UpperAscii(text);
}
