// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/Catalogue.h"
#include "core/State.h"

class Catalogue : public ::testing::Test {
protected:
    TempDir dir;
    void SetUp() override { StartFresh(dir.path().string()); }
};

TEST_F(Catalogue, BandListMapsTextsAndCodesWithItsFallbacks)
{
    ASSERT_EQ(FrqList.Count(), 4);
    EXPECT_EQ(FrqList.CodeOf("320 - 400MHz"), 0xF2);
    EXPECT_EQ(FrqList.CodeOf("no such band"), 0xF0);
    EXPECT_EQ(FrqList.TextOf(0xF1), "200 - 260MHz");
    EXPECT_EQ(FrqList.TextOf(0x00), "400 - 520MHz");
    EXPECT_EQ(FrqList.TextOf(0xF4), "400 - 520MHz");
}

TEST_F(Catalogue, HoldsTheOneModelAndFindsItOnlyByExactTexts)
{
    ASSERT_EQ(MacList.Count(), 1);
    EXPECT_EQ(MacList.Items(1), nullptr);
    EXPECT_EQ(MacList.Items(-1), nullptr);
    const TMacType* m = MacList.Items(0);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Code, "QV30");
    EXPECT_EQ(m->Name, "QV-300");
    EXPECT_EQ(m->Channels, 16);
    EXPECT_EQ(m->KeyLayout, 3);
    EXPECT_EQ(m->DefaultBand, "400 - 520MHz");

    EXPECT_EQ(MacList.ChannelsOf("QV30"), 16);
    EXPECT_EQ(MacList.ChannelsOf("qv30"), 0);
    EXPECT_EQ(MacList.ChannelsOf(""), 0);
    EXPECT_EQ(MacList.FindByCodeAndBand("QV30", "400 - 520MHz"), m);
    EXPECT_EQ(MacList.FindByCodeAndBand("QV30", "400 - 520 MHz"), nullptr);
    EXPECT_EQ(MacList.FindByName("QV-300"), m);
    EXPECT_EQ(MacList.FindByName("qv-300"), nullptr);
    std::vector<std::string> names{"stale"};
    MacList.FillNames(names);
    EXPECT_EQ(names, std::vector<std::string>{"QV-300"});
}

TEST_F(Catalogue, SelectModelCopiesTheModelAndAppliesTheBandOnlyWhenAsked)
{
    ALL.AreaCode = "0592";
    SelectModel("QV30", 0xF1, true);
    EXPECT_EQ(ALL.BandText, "200 - 260MHz");
    EXPECT_EQ(ALL.BandLow, 200);
    EXPECT_EQ(ALL.BandHigh, 260);
    EXPECT_EQ(ALL.AreaCode, "");
    EXPECT_EQ(ALL.ModelName, "QV-300");
    EXPECT_EQ(ALL.ChannelCount, 16);
    EXPECT_EQ(ALL.ModelMinFreq, 134.0);
    EXPECT_EQ(ALL.ModelMaxFreq, 650.0);

    // Without the band applied the default band becomes current, and the
    // edges stay where they were.
    SelectModel("QV30", 0xF1, false);
    EXPECT_EQ(ALL.BandText, "400 - 520MHz");
    EXPECT_EQ(ALL.BandLow, 200);

    // An unknown model changes nothing but the applied band.
    ALL.AreaCode = "0592";
    SelectModel("XX99", 0xF0, true);
    EXPECT_EQ(ALL.ModelCode, "QV30");
    EXPECT_EQ(ALL.AreaCode, "0592");
    EXPECT_EQ(ALL.BandText, "134 - 174MHz");
    EXPECT_EQ(ALL.BandHigh, 174);
}

TEST(BandText, ParsesItsTwoEdges)
{
    EXPECT_EQ(ParseBandText("400 - 520MHz").low, 400);
    EXPECT_EQ(ParseBandText("400 - 520MHz").high, 520);
    EXPECT_EQ(ParseBandText(" 134.5-174 MHz").low, 134.5);
    EXPECT_EQ(ParseBandText(" 134.5-174 MHz").high, 174);
    EXPECT_EQ(ParseBandText("no dash").high, 0);
    EXPECT_EQ(ParseBandText("a - b").low, 0);
}
