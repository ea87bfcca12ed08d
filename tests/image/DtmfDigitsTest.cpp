// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/State.h"
#include "image/DtmfDigits.h"

namespace {
class DtmfDigitsTest : public ::testing::Test {
protected:
    TempDir dir;
    void SetUp() override
    {
        StartFresh(dir.path().string());
        StartFirstDocument();
    }
    const DtmfStringField& Field(int tag)
    {
        for (const DtmfStringField& f : DtmfStringFields())
            if (f.tag == tag)
                return f;
        throw std::logic_error("no field");
    }
    void ExpectBytes(size_t offset, std::vector<uint8_t> bytes)
    {
        for (size_t i = 0; i < bytes.size(); ++i)
            EXPECT_EQ(ALL.Image[offset + i], bytes[i]) << "offset 0x" << std::hex << offset + i;
    }
};
}

TEST_F(DtmfDigitsTest, BeginOfTxStoresCountAndStarFiller)
{
    EXPECT_EQ(DtmfStringText(Field(1)), "");
    StoreDtmfString(Field(1), "123A");
    EXPECT_EQ(ALL.Image[0x14D], 4);
    ExpectBytes(0x160, {0x12, 0x3A, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_TRUE(ALL.Modified);
    EXPECT_EQ(DtmfStringText(Field(1)), "123A");

    // A "*" typed by the user is told from the filler by the count.
    StoreDtmfString(Field(2), "9#*");
    EXPECT_EQ(ALL.Image[0x14E], 3);
    ExpectBytes(0x168, {0x9E, 0xFF});
    EXPECT_EQ(DtmfStringText(Field(2)), "9#*");

    // Lower-case letters are capitals; all 16 positions can be used.
    StoreDtmfString(Field(1), "abcd0123456789*#");
    EXPECT_EQ(ALL.Image[0x14D], 16);
    ExpectBytes(0x160, {0xAB, 0xCD, 0x01, 0x23, 0x45, 0x67, 0x89, 0xFE});
    EXPECT_EQ(ALL.Image[0x168], 0x9E); // the next field is untouched
}

TEST_F(DtmfDigitsTest, IdCodeIsPaddedToThreeDigitsAndShowsZerosWhenUnset)
{
    EXPECT_EQ(DtmfStringText(Field(3)), "000"); // new document: all 0xFF
    StoreDtmfString(Field(3), "7");
    ExpectBytes(0x148, {0x70, 0x0F, 0xFF});
    EXPECT_EQ(DtmfStringText(Field(3)), "700");
    StoreDtmfString(Field(3), "123456");
    ExpectBytes(0x148, {0x12, 0x34, 0x56});
    EXPECT_EQ(DtmfStringText(Field(3)), "123456");
    StoreDtmfString(Field(3), "");
    ExpectBytes(0x148, {0x00, 0x0F, 0xFF});
    // A letter in the stored ID ends it; fewer than three digits read "000".
    ALL.Image[0x148] = 0x1A;
    EXPECT_EQ(DtmfStringText(Field(3)), "000");
}

TEST_F(DtmfDigitsTest, StunCodeCountNeverReadsPastItsField)
{
    StoreDtmfString(Field(4), "0123456789");
    EXPECT_EQ(ALL.Image[0x150], 10);
    ExpectBytes(0x151, {0x01, 0x23, 0x45, 0x67, 0x89});
    EXPECT_EQ(ALL.Image[0x156], 0xFF);
    // A count byte that was never normalised: the field still ends at 10.
    ALL.Image[0x150] = 0xFF;
    EXPECT_EQ(DtmfStringText(Field(4)), "0123456789");
}

TEST_F(DtmfDigitsTest, CodesAndAcceptedKeys)
{
    EXPECT_EQ(DtmfCode('0'), 0);
    EXPECT_EQ(DtmfCode('9'), 9);
    EXPECT_EQ(DtmfCode('D'), 13);
    EXPECT_EQ(DtmfCode('#'), 14);
    EXPECT_EQ(DtmfCode('*'), 15);
    EXPECT_EQ(DtmfCode('x'), 0); // anything else is stored as "0"
    EncodeDtmfDigits(0x160, 4, "x5");
    ExpectBytes(0x160, {0x05, 0xFF});
    EXPECT_EQ(DecodeDtmfDigits(0x160, 4, 9), "05");

    EXPECT_TRUE(DtmfKeyAccepted(Field(1), 'a'));
    EXPECT_TRUE(DtmfKeyAccepted(Field(1), '#'));
    EXPECT_FALSE(DtmfKeyAccepted(Field(1), 'e'));
    EXPECT_TRUE(DtmfKeyAccepted(Field(3), '5'));
    EXPECT_FALSE(DtmfKeyAccepted(Field(3), '*'));
    EXPECT_FALSE(DtmfKeyAccepted(Field(3), 'A'));
}
