// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/DtmfDigits.h"

#include <algorithm>

#include "base/NumberText.h"
#include "core/ImageLayout.h"
#include "core/State.h"

namespace {
constexpr char kDtmfChars[] = "0123456789ABCD#*";
constexpr uint8_t kHighestCode = 15;
constexpr uint8_t kHighestDigit = 9;
// A shorter ID code is padded with zeros to this length.
constexpr int kIdCodeLength = 3;

const std::vector<DtmfStringField> kStrings = {
    {"cxEntv", "lEntv", "&Begin of Tx", "cgPtts", 1, 0x14D, 0x160, 16, false, "begin_of_tx"},
    {"cxEndv", "lEndv", "&End of Tx", "cgPtts", 2, 0x14E, 0x168, 16, false, "end_of_tx"},
    {"cxIdSv", "lIdSv", "&ID Code", "cgDeCode", 3, -1, 0x148, 6, true, "id_code"},
    {"cxStunSv", "lStunSv", "St&un Code", "cgStun", 4, 0x150, 0x151, 10, false, "stun_code"},
};
}

uint8_t DtmfCode(char c)
{
    const char* at = std::find(kDtmfChars, kDtmfChars + 16, c);
    return at == kDtmfChars + 16 ? 0 : static_cast<uint8_t>(at - kDtmfChars);
}

char DtmfChar(uint8_t code)
{
    return kDtmfChars[code & 0x0F];
}

void EncodeDtmfDigits(size_t offset, int positions, const std::string& text)
{
    std::string padded = (text + std::string(24, '*')).substr(0, static_cast<size_t>(positions));
    for (int i = 0; i < positions / 2; ++i) {
        size_t at = offset + static_cast<size_t>(i);
        if (at >= kImageSize)
            break;
        ALL.Image[at] = static_cast<uint8_t>(DtmfCode(padded[2 * i]) << 4 | DtmfCode(padded[2 * i + 1]));
    }
    ALL.Modified = true;
}

std::string DecodeDtmfDigits(size_t offset, int count, uint8_t highest)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        size_t at = offset + static_cast<size_t>(i / 2);
        if (at >= kImageSize)
            break;
        uint8_t byte = ALL.Image[at];
        uint8_t code = i % 2 == 0 ? byte >> 4 : byte & 0x0F;
        if (code > highest)
            break;
        text += DtmfChar(code);
    }
    return text;
}

const std::vector<DtmfStringField>& DtmfStringFields()
{
    return kStrings;
}

bool DtmfKeyAccepted(const DtmfStringField& field, char c)
{
    if (c >= '0' && c <= '9')
        return true;
    if (field.digitsOnly)
        return false;
    return (c >= 'A' && c <= 'D') || (c >= 'a' && c <= 'd') || c == '*' || c == '#';
}

std::string DtmfStringText(const DtmfStringField& field)
{
    if (field.countOffset < 0) {
        std::string id = DecodeDtmfDigits(field.digitsOffset, field.positions, kHighestDigit);
        return static_cast<int>(id.size()) < kIdCodeLength ? std::string(kIdCodeLength, '0') : id;
    }
    // A count past the field (a file that was never normalised) must not
    // read the bytes of the next field.
    int count = std::min<int>(ALL.Image[static_cast<size_t>(field.countOffset)], field.positions);
    return DecodeDtmfDigits(field.digitsOffset, count, kHighestCode);
}

void StoreDtmfString(const DtmfStringField& field, const std::string& text)
{
    std::string t = UpperAscii(TrimBlanks(text)).substr(0, static_cast<size_t>(field.positions));
    if (field.countOffset >= 0) {
        ALL.Image[static_cast<size_t>(field.countOffset)] = static_cast<uint8_t>(t.size());
    } else if (static_cast<int>(t.size()) < kIdCodeLength) {
        t = (t + std::string(kIdCodeLength, '0')).substr(0, kIdCodeLength);
    }
    EncodeDtmfDigits(field.digitsOffset, field.positions, t);
}
