// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>

#include "TestSupport.h"
#include "core/State.h"
#include "image/Image.h"
#include "image/Stamp.h"

class NewDocumentImage : public ::testing::Test {
protected:
    TempDir dir;
    void SetUp() override
    {
        StartFresh(dir.path().string());
        StartFirstDocument();
    }
};

TEST_F(NewDocumentImage, HoldsFillerModelBlockStampAndSettingDefaults)
{
    // Bytes that differ from 0xFF in 0x000-0x1BF; everything else must be 0xFF.
    std::map<size_t, uint8_t> expected = {
        {0x121, 0xF5}, {0x122, 0x0C}, {0x123, 0xF4}, {0x125, 0x00}, {0x126, 0x0C}, {0x127, 0x31}, {0x128, 0x45},
        {0x129, 0x05}, {0x140, 0xF2}, {0x141, 0x00}, {0x142, 0xFF}, {0x143, 0xFF}, {0x144, 0xF0}, {0x145, 0xCA},
        {0x146, 0xF0}, {0x14D, 0x00}, {0x14E, 0x00}, {0x150, 0x00}, {0x170, 0x50}, {0x171, 'Q'},  {0x172, 'V'},
        {0x173, '3'},  {0x174, '0'},  {0x175, 0xF3}, {0x176, 0x00}, {0x177, 0x00},
    };
    for (size_t at = 0; at < 0x1C0; ++at) {
        if (at >= 0x180 && at <= 0x186)
            continue; // the stamp, checked below
        uint8_t want = expected.count(at) ? expected[at] : 0xFF;
        EXPECT_EQ(ALL.Image[at], want) << "offset 0x" << std::hex << at;
    }
    for (size_t at = 0x1C0; at < 0x300; ++at)
        ASSERT_EQ(ALL.Image[at], 0x00) << std::hex << at;
    for (size_t at = 0x300; at < 0x310; ++at)
        ASSERT_EQ(ALL.Image[at], 0xFF) << std::hex << at;
    EXPECT_EQ(ALL.Image[0x310], 0x00);
    EXPECT_EQ(ALL.Image[0x311], 0x00);

    std::string stamp = FormatStamp(ALL.Image.data() + 0x180);
    ASSERT_EQ(stamp.size(), 19u);
    EXPECT_EQ(stamp.substr(0, 10), NowStampText().substr(0, 10));
    EXPECT_EQ(ALL.Modified, false);
    EXPECT_EQ(ALL.AreaCode, "");
}

TEST_F(NewDocumentImage, NewKeepsTheBytesItDoesNotOwn)
{
    ALL.Image[0x1C5] = 0x12;
    ALL.Image[0x2FF] = 0x34;
    ALL.Image[0x310] = 0x56;
    ALL.Image[0x050] = 0x00;
    NewImage();
    EXPECT_EQ(ALL.Image[0x1C5], 0x12);
    EXPECT_EQ(ALL.Image[0x2FF], 0x34);
    EXPECT_EQ(ALL.Image[0x310], 0x56);
    EXPECT_EQ(ALL.Image[0x050], 0xFF);
}

TEST_F(NewDocumentImage, NormaliseResetsOnlyFieldsOutOfRange)
{
    ALL.Image[0x121] = 0x0A; // above 9 in the low nibble: default 5, high nibble kept
    ALL.Image[0x129] = 9;    // equal to the maximum: kept
    ALL.Image[0x122] = 31;   // above 30
    ALL.Image[0x145] = 0x7D; // 0x3D = 61 above 60, bit 0x40 = 1 in range
    ALL.Image[0x142] = 0x10; // 1 in range
    ALL.Image[0x156] = 0x00;
    ALL.Image[0x157] = 0x12;
    ALL.Image[0x175] = 0xF4;
    ALL.BandText = "200 - 260MHz";
    NormaliseSettings();
    EXPECT_EQ(ALL.Image[0x121], 0x05);
    EXPECT_EQ(ALL.Image[0x129], 9);
    EXPECT_EQ(ALL.Image[0x122], 12);
    EXPECT_EQ(ALL.Image[0x145], 0x4A);
    EXPECT_EQ(ALL.Image[0x142], 0x10);
    EXPECT_EQ(ALL.Image[0x156], 0xFF);
    EXPECT_EQ(ALL.Image[0x157], 0xFF);
    EXPECT_EQ(ALL.Image[0x175], 0xF1);
}

TEST_F(NewDocumentImage, NormalisationTableFieldsAllHaveDefaultsInRange)
{
    for (const auto& row : NormalisedSettings()) {
        EXPECT_LE(row.defaultValue, row.max) << std::hex << row.offset;
        EXPECT_GE(row.offset, 0x120);
        EXPECT_LT(row.offset, 0x170);
        // The maximum must be storable in the mask, or the field could never
        // hold it.
        EXPECT_EQ(GetBitField(0xFF, row.mask, 0xFF, 0) >= row.max, true) << std::hex << row.offset;
    }
}

TEST(BitFields, ReadAndStoreThroughTheMask)
{
    EXPECT_EQ(GetBitField(0x60, 0x60, 3, 3), 3);
    EXPECT_EQ(GetBitField(0x20, 0x60, 3, 3), 1);
    EXPECT_EQ(GetBitField(0xF5, 0x0F, 9, 0xEE), 5);
    EXPECT_EQ(GetBitField(0xFA, 0x0F, 9, 0xEE), 0xEE);
    uint8_t b = 0x9F;
    PutBitField(b, 0x60, 1);
    EXPECT_EQ(b, 0xBF);
    PutBitField(b, 0x60, 0);
    EXPECT_EQ(b, 0x9F);
    PutBitField(b, 0x0F, 0x35); // bits that do not fit are dropped
    EXPECT_EQ(b, 0x95);
}

TEST(Stamps, EncodeAndFormat)
{
    TempDir dir;
    StartFresh(dir.path().string());
    FillImage(0x190, 16, 0xFF);
    EXPECT_EQ(FormatStamp(ALL.Image.data() + 0x190), "");
    EncodeStamp(0x190, "2026-03-04 05:06:07");
    const uint8_t* s = ALL.Image.data() + 0x190;
    EXPECT_EQ(s[0], 0xEA);
    EXPECT_EQ(s[1], 0x07);
    EXPECT_EQ(s[2], 3);
    EXPECT_EQ(s[6], 7);
    EXPECT_EQ(s[7], 0xFF);
    EXPECT_EQ(FormatStamp(s), "2026-03-04 05:06:07");
    const uint8_t example[16] = {0xDC, 0x07, 0x0C, 0x1F, 0x17, 0x3B, 0x09, 0xFF,
                                 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(FormatStamp(example), "2012-12-31 23:59:09");
    // A stamp never overruns the image, whatever the offset.
    EncodeStamp(kImageSize - 3, "2026-03-04 05:06:07");
}

TEST(SerialNumber, ShowsPrintableBytesInCapitals)
{
    uint8_t b[16];
    std::fill(std::begin(b), std::end(b), 0xFF);
    EXPECT_EQ(SerialNumberText(b), "");
    b[0] = 0x41;
    b[1] = 0x42;
    b[2] = 0x20;
    b[3] = 0x43;
    b[4] = 'x';
    b[5] = 0x7F;
    b[6] = 0x00;
    b[7] = '7';
    EXPECT_EQ(SerialNumberText(b), "ABCX7");
}
