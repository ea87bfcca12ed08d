// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/LinkFrames.h"

#include <algorithm>

uint8_t LinkTag(int portNumber, int random0to4)
{
    if (portNumber >= 1 && portNumber <= 9)
        return static_cast<uint8_t>(0x60 + portNumber);
    return static_cast<uint8_t>(0x65 + std::clamp(random0to4, 0, 4));
}

std::array<uint8_t, kProgramRequestLength> ProgramRequest(uint8_t tag)
{
    std::array<uint8_t, kProgramRequestLength> frame{};
    std::copy(kProgramRequestPrefix.begin(), kProgramRequestPrefix.end(), frame.begin());
    frame.back() = tag;
    return frame;
}

std::array<uint8_t, kRequestHeaderLength> BlockRequestHeader(uint8_t command, int block)
{
    unsigned address = static_cast<unsigned>(block) * 16u;
    return {command, static_cast<uint8_t>((address >> 8) & 0xFF), static_cast<uint8_t>(address & 0xFF),
            kBlockLengthByte};
}

void AppendHex(std::string& text, uint8_t byte)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    text += kHex[byte >> 4];
    text += kHex[byte & 0x0F];
}
