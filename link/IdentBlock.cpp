// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/IdentBlock.h"

#include <iterator>
#include <string_view>

#include "link/MachineId.h"

namespace {

constexpr size_t kMachineLength = 31;

// Stand-ins of our own for what a computer may fail to tell us.
constexpr std::string_view kNoSerialWord = "MOSS";                      // no disk serial at all
constexpr std::string_view kShortSerialWord = "PEBBLE";                 // appended to a short serial
constexpr std::string_view kFailureText = "Kq7Tw2Lm9Rj4Xv1Ns8Pd3Hf6Gb"; // facts unreadable
constexpr char kPadding = '.';
constexpr char kIdentLead = 'J';

static_assert(kNoSerialWord.size() == 4);
static_assert(kShortSerialWord.size() == 6);
static_assert(kFailureText.size() == 26);

// Positions of the machine string the identification string is taken from,
// two to three in every group. The disk serial is what tells one computer
// from another of the same make, so seven of the fourteen are serial
// characters: its first four (S) and its last three (s).
//
//   0123 4 56789 10 11..15 16 17..19 20 21..25 26 27..30
//   QV30 - sssss -  aaSaa  -  bSb    -  ccScc  -  ddSd
constexpr size_t kIdentPositions[] = {0, 3, 7, 8, 9, 13, 14, 15, 18, 19, 21, 23, 29, 30};
static_assert(std::size(kIdentPositions) == kIdentLength - 1);

// Disk serials are free-form bytes; keep the string to printable ASCII so
// every character is one byte on the line and one character on screen.
char Printable(char c)
{
    auto u = static_cast<unsigned char>(c);
    if (u > 0x20 && u < 0x7F)
        return c;
    return static_cast<char>('a' + u % 26);
}

std::string PreparedSerial(const std::string& raw)
{
    std::string serial = raw.empty() ? std::string(kNoSerialWord) : raw;
    if (serial.size() < 5)
        serial += kShortSerialWord;
    for (char& c : serial)
        c = (c == '-') ? 'C' : Printable(c);
    return serial;
}

std::string Hex8(uint32_t value)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out(8, '0');
    for (int i = 7; i >= 0; --i) {
        out[static_cast<size_t>(i)] = kDigits[value & 0xF];
        value >>= 4;
    }
    return out;
}

} // namespace

std::string BuildMachineString(const std::string& familyCode, const MachineFacts& facts)
{
    std::string out;
    for (size_t i = 0; i < 4; ++i)
        out += i < familyCode.size() ? Printable(familyCode[i]) : kPadding;

    if (facts.readError) {
        // The disk could not be read properly: nothing after the family code
        // can be trusted.
        out += kFailureText;
    } else {
        const std::string s = PreparedSerial(facts.diskSerial);
        // The end of a serial number varies most from disk to disk.
        out += '-';
        out += s.substr(s.size() - 5);

        if (!facts.cpuRegisters) {
            out += kFailureText;
        } else {
            const auto& r = *facts.cpuRegisters;
            const std::string a = Hex8(r[0]), b = Hex8(r[1]), c = Hex8(r[2]), d = Hex8(r[3]);
            // Each group carries the register digits that differ between
            // processors, with one serial character in the middle:
            // EAX extended model, family, model, stepping; EBX logical
            // processor count; ECX and EDX feature flags.
            out += std::string{'-', a[3], a[5], s[0], a[6], a[7]};
            out += std::string{'-', b[2], s[1], b[3]};
            out += std::string{'-', c[0], c[1], s[2], c[4], c[6]};
            out += std::string{'-', d[0], d[3], s[3], d[7]};
        }
    }
    // Complete builds are exactly this long already; the failure text is
    // cut or padded so the identification string's positions all exist.
    out.resize(kMachineLength, kPadding);

    // Every "0" becomes the character 'A' + its position counted from 1
    // ('B' to '`' over the 31 positions).
    for (size_t i = 0; i < out.size(); ++i)
        if (out[i] == '0')
            out[i] = static_cast<char>(65 + i + 1);
    return out;
}

std::string BuildIdentString(const std::string& familyCode, const MachineFacts& facts)
{
    const std::string machine = BuildMachineString(familyCode, facts);
    std::string ident(1, kIdentLead);
    for (size_t pos : kIdentPositions)
        ident += machine[pos];
    return ident;
}

std::string BuildIdentString(const std::string& familyCode)
{
    return BuildIdentString(familyCode, ThisMachine());
}

namespace {

uint8_t Swap(uint8_t b)
{
    return static_cast<uint8_t>((b << 4) | (b >> 4));
}

uint8_t Not(uint8_t b)
{
    return static_cast<uint8_t>(0xFF - b);
}

} // namespace

uint8_t IdentCheckByte(const IdentBlock& b)
{
    unsigned sum = Not(b[5]) + b[1] + b[2] + b[8] + b[9] + Not(b[11]) + b[12] + b[14];
    return static_cast<uint8_t>(sum);
}

uint8_t IdentResponse(const IdentBlock& b)
{
    unsigned sum = b[1] + (b[2] >> 1) + 2u * b[3] + b[4] + Swap(b[5]) + Not(b[6]) + (b[7] & 0x0F) + b[8] + 2u * b[9] +
                   (b[10] >> 1) + b[11] + Not(b[12]) + Swap(b[13]) + (b[14] & 0xF0);
    return static_cast<uint8_t>(sum);
}

uint8_t BuildIdentBlock(const std::string& identString, IdentBlock& block)
{
    block.fill(0x00);
    for (size_t i = 0; i < kIdentLength && i < identString.size(); ++i)
        block[i] = static_cast<uint8_t>(identString[i]);
    block[15] = IdentCheckByte(block);
    return IdentResponse(block);
}
