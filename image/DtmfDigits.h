// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// DTMF digit strings as the radio keeps them: 4-bit codes, two to a byte,
// the first digit in the high nibble, "*" (15) filling the field up.
#include <cstdint>
#include <string>
#include <vector>

// The code of one DTMF character; anything else counts as "0".
uint8_t DtmfCode(char c);
// The character of a code 0-15.
char DtmfChar(uint8_t code);

// Writes `text` into `positions` digits from image byte `offset` on,
// filled up with "*", and sets Modified. `positions` is even.
void EncodeDtmfDigits(size_t offset, int positions, const std::string& text);
// Reads up to `count` digits from image byte `offset` on, stopping at the
// first code above `highest`.
std::string DecodeDtmfDigits(size_t offset, int count, uint8_t highest);

// One digit-string edit of the DTMF window.
struct DtmfStringField {
    const char* control; // component name of the edit
    const char* label;   // component name of its label
    const char* caption;
    const char* group;
    int tag;         // 1 Begin of Tx, 2 End of Tx, 3 ID Code, 4 Stun Code
    int countOffset; // image byte holding the digit count, -1 for none
    uint16_t digitsOffset;
    int positions;
    bool digitsOnly; // the ID code takes digits only
    const char* jsonKey;
};

const std::vector<DtmfStringField>& DtmfStringFields();

// True when `c` may be typed into the field (letters a-d count as A-D).
bool DtmfKeyAccepted(const DtmfStringField& field, char c);
// The text the edit shows for the image as it is.
std::string DtmfStringText(const DtmfStringField& field);
// Stores what the edit shows: the count byte, then the digits; sets Modified.
void StoreDtmfString(const DtmfStringField& field, const std::string& text);
