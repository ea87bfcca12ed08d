// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "link/IdentBlock.h"
#include "link/MachineId.h"

namespace {

// Starting blocks for the bit checks: counting bytes and bytes above 0x7F.
std::vector<IdentBlock> BaseBlocks()
{
    IdentBlock counting{}, high{};
    for (size_t i = 0; i < 15; ++i) {
        counting[i] = static_cast<uint8_t>(i);
        high[i] = static_cast<uint8_t>(0x9D * (i + 3) + 0x51);
    }
    return {counting, high};
}

// Bits of each byte that must not move the expected response.
uint8_t IgnoredByResponse(size_t byte)
{
    switch (byte) {
    case 0:
    case 15:
        return 0xFF;
    case 2:
    case 10:
        return 0x01;
    case 3:
    case 9:
        return 0x80;
    case 7:
        return 0xF0;
    case 14:
        return 0x0F;
    default:
        return 0x00;
    }
}

const std::array<uint32_t, 4> kSomeCpu = {0x00A50F00, 0x00080800, 0x7ED8320B, 0x178BFBFF};

MachineFacts Facts(const std::string& serial, std::optional<std::array<uint32_t, 4>> cpu = kSomeCpu)
{
    MachineFacts f;
    f.diskSerial = serial;
    f.cpuRegisters = cpu;
    return f;
}

std::string SerialGroup(const std::string& serial)
{
    return BuildMachineString("QV30", Facts(serial)).substr(5, 5);
}

} // namespace

TEST(IdentBlock, WorkedExamples)
{
    const IdentBlock counting = BaseBlocks()[0];
    EXPECT_EQ(IdentCheckByte(counting), 0x1C);
    EXPECT_EQ(IdentResponse(counting), 0x49);

    IdentBlock block;
    EXPECT_EQ(BuildIdentBlock("ABCDEFGHIJKLMNO", block), 0x78);
    EXPECT_EQ(block[15], 0x20);
    EXPECT_EQ(block[14], 'O');

    EXPECT_EQ(BuildIdentBlock(std::string(15, '\0'), block), 0xFE);
    EXPECT_EQ(block[15], 0xFE);
}

TEST(IdentBlock, BuildZeroFillsShortStringsAndCutsLongOnes)
{
    IdentBlock block;
    block.fill(0x77);
    EXPECT_EQ(BuildIdentBlock("", block), 0xFE); // the all-zero example
    const IdentBlock zeros{{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFE}};
    EXPECT_EQ(block, zeros);

    EXPECT_EQ(BuildIdentBlock("ABCDEFGHIJKLMNO\xC4XYZ", block), 0x78);
    EXPECT_EQ(block[15], 0x20);
    // Bytes above 0x7F go in unchanged.
    const uint8_t r = BuildIdentBlock("A\xC4", block);
    EXPECT_EQ(r, IdentResponse(block));
    EXPECT_EQ(block[1], 0xC4);
    EXPECT_EQ(block[2], 0x00);
    EXPECT_EQ(block[15], IdentCheckByte(block));
}

TEST(IdentBlock, ResponseDependsOnExactlyTheBitsOfItsFormula)
{
    // Every bit of every byte, flipped from each of its 256 values: the
    // ignored bits (all of B0 and B15, B2/B10 bit 0, B3/B9 bit 7, B7 high
    // nibble, B14 low nibble) never change R, every other bit always does.
    for (const IdentBlock& base : BaseBlocks())
        for (size_t byte = 0; byte < 16; ++byte)
            for (int bit = 0; bit < 8; ++bit) {
                const auto flip = static_cast<uint8_t>(1u << bit);
                for (int v = 0; v < 256; ++v) {
                    IdentBlock a = base;
                    a[byte] = static_cast<uint8_t>(v);
                    IdentBlock b = a;
                    b[byte] ^= flip;
                    if (IgnoredByResponse(byte) & flip)
                        ASSERT_EQ(IdentResponse(a), IdentResponse(b)) << "B" << byte << " bit " << bit << " at " << v;
                    else
                        ASSERT_NE(IdentResponse(a), IdentResponse(b)) << "B" << byte << " bit " << bit << " at " << v;
                }
            }
}

TEST(IdentBlock, CheckByteDependsOnExactlyItsEightBytes)
{
    const std::set<size_t> inCheck = {1, 2, 5, 8, 9, 11, 12, 14};
    for (const IdentBlock& base : BaseBlocks())
        for (size_t byte = 0; byte < 15; ++byte)
            for (int bit = 0; bit < 8; ++bit) {
                IdentBlock b = base;
                b[byte] ^= static_cast<uint8_t>(1u << bit);
                EXPECT_EQ(IdentCheckByte(b) != IdentCheckByte(base), inCheck.count(byte) == 1)
                    << "B" << byte << " bit " << bit;
            }
}

TEST(IdentBlock, HighBytesShiftLogicallyAndSwapNibbles)
{
    // On an all-zero block R is 0xFE; one byte adds its own term.
    auto responseWith = [](size_t byte, uint8_t value) {
        IdentBlock b{};
        b[byte] = value;
        return IdentResponse(b);
    };
    EXPECT_EQ(responseWith(2, 0xFF), static_cast<uint8_t>(0xFE + 0x7F));
    EXPECT_EQ(responseWith(10, 0x80), static_cast<uint8_t>(0xFE + 0x40));
    EXPECT_EQ(responseWith(5, 0x12), static_cast<uint8_t>(0xFE + 0x21));
    EXPECT_EQ(responseWith(13, 0xA7), static_cast<uint8_t>(0xFE + 0x7A));
}

TEST(MachineString, LayoutOfAKnownComputer)
{
    // Family code, the serial's last five, then digits of EAX, EBX, ECX and
    // EDX, each group with one of the serial's first four characters; every
    // zero has become 'A' + its position.
    EXPECT_EQ(BuildMachineString("QV30", Facts("WD-WCC4N1234567")), "QV3E-34567-5FWPQ-SD8-7EC3[-1BWF");
    EXPECT_EQ(BuildIdentString("QV30", Facts("WD-WCC4N1234567")), "JQE567WPQD87CWF");

    for (const char* serial : {"", "X", "ABCDE", "S3Z9NB0K123456A", "QQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQ"}) {
        const std::string machine = BuildMachineString("QV30", Facts(serial));
        ASSERT_EQ(machine.size(), 31u) << serial;
        for (size_t dash : {4, 10, 16, 20, 26})
            EXPECT_EQ(machine[dash], '-') << serial;
        EXPECT_EQ(machine.find('0'), std::string::npos) << serial;
    }
}

TEST(MachineString, DiskSerialRules)
{
    EXPECT_EQ(SerialGroup("AB-CD-EF"), "CDCEF");
    EXPECT_EQ(SerialGroup("K7M2P"), "K7M2P");
    // No serial: the program's own word, lengthened by its second word.
    const std::string none = SerialGroup("");
    EXPECT_EQ(none.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos) << none;
    // A short serial is lengthened, and every one of its characters still
    // reaches the identification string.
    EXPECT_NE(BuildIdentString("QV30", Facts("")), BuildIdentString("QV30", Facts("A")));
    EXPECT_NE(BuildIdentString("QV30", Facts("AB1")), BuildIdentString("QV30", Facts("AB2")));
    EXPECT_NE(BuildIdentString("QV30", Facts("WXYZ")), BuildIdentString("QV30", Facts("WXYQ")));
}

TEST(MachineString, ZerosBecomeLettersByPosition)
{
    // Serial characters at positions 6 to 10 counted from 1: 'A' + 6 is 'G'.
    EXPECT_EQ(SerialGroup("00000"), "GHIJK");
    const std::string zeros = BuildMachineString("QV30", Facts("ABCDE", std::array<uint32_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(zeros, "QV3E-ABCDE-MNAPQ-SBU-WXCZ[-]^D`");
}

TEST(MachineString, FailureTextEndsTheBuild)
{
    // No processor identification: the serial group, then the fixed text.
    const std::string noCpu = BuildMachineString("QV30", Facts("K7M2P9", std::nullopt));
    EXPECT_EQ(noCpu.size(), 31u);
    EXPECT_EQ(noCpu.substr(0, 10), "QV3E-7M2P9");
    EXPECT_EQ(BuildMachineString("QV30", Facts("Z7M2P9", std::nullopt)).substr(10), noCpu.substr(10));
    EXPECT_NE(noCpu.substr(10), BuildMachineString("QV30", Facts("K7M2P9")).substr(10));

    // A read error: nothing after the family code comes from the facts.
    MachineFacts broken = Facts("K7M2P9");
    broken.readError = true;
    MachineFacts other = Facts("OTHER1", std::nullopt);
    other.readError = true;
    const std::string failed = BuildMachineString("QV30", broken);
    EXPECT_EQ(failed.size(), 31u);
    EXPECT_EQ(failed.substr(0, 4), "QV3E");
    EXPECT_EQ(BuildMachineString("QV30", other), failed);
    EXPECT_NE(failed, noCpu);
    EXPECT_EQ(BuildIdentString("QV30", broken).size(), kIdentLength);
}

TEST(IdentString, FifteenCharactersDependingOnFamilyAndFacts)
{
    const MachineFacts base = Facts("S3Z9NB0K123456A");
    const std::string ident = BuildIdentString("QV30", base);
    EXPECT_EQ(ident.size(), kIdentLength);
    EXPECT_EQ(ident, BuildIdentString("QV30", base));

    EXPECT_NE(BuildIdentString("QV31", base), ident);
    EXPECT_NE(BuildIdentString("XV30", base), ident);
    EXPECT_NE(BuildIdentString("QV30", Facts("S3Z9NB0K123456B")), ident);
    EXPECT_NE(BuildIdentString("QV30", Facts("T3Z9NB0K123456A")), ident);
    EXPECT_NE(BuildIdentString("QV30", Facts("S3Z9NB0K123456A", std::nullopt)), ident);
    // Another processor model and stepping.
    auto otherCpu = kSomeCpu;
    otherCpu[0] = 0x000906EA;
    EXPECT_NE(BuildIdentString("QV30", Facts("S3Z9NB0K123456A", otherCpu)), ident);
}

TEST(IdentString, OddBytesInTheFactsStayPrintableSingleBytes)
{
    const std::string odd = std::string("\x01\xFF \xC3\xA9\t\x7F-") + '\0' + "\x80\x9B";
    for (const std::string& family : {std::string("QV30"), std::string(""), std::string("\xE2\x82\xAC\n")})
        for (const std::string& serial : {odd, odd.substr(0, 3), std::string("\xC3\xA9")}) {
            const std::string text = BuildMachineString(family, Facts(serial)) +
                                     BuildIdentString(family, Facts(serial));
            ASSERT_EQ(text.size(), 31u + kIdentLength);
            for (char c : text)
                EXPECT_TRUE(c > 0x20 && c < 0x7F) << static_cast<int>(static_cast<unsigned char>(c));
        }
    EXPECT_NE(SerialGroup("\x01\x02\x03\x04\x05"), SerialGroup("\x06\x07\x08\x09\x0A"));
}
