// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-channel operations and the clipboard's text form, on the image.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/State.h"
#include "editors/ChannelClipboard.h"
#include "editors/ChannelSheet.h"
#include "image/ChannelCodec.h"
#include "image/ChannelFields.h"

namespace {

class ChannelSheet : public ::testing::Test {
protected:
    TempDir dir;
    MessageRecorder messages{kMsgNo};
    void SetUp() override
    {
        StartFresh(dir.path().string());
        StartFirstDocument();
        for (int n = 1; n <= 4; ++n)
            InitChannel(n, std::to_string(440 - 10 * n) + ".0"); // 430, 420, 410, 400
        ALL.CurrentChannel = 3;
    }
    static std::string Rx(int n)
    {
        TChannel c;
        return DecodeChannel(n, c) ? FormatFrequency(c.RxFreq) : "";
    }
    static std::vector<std::string> Rxs(int count = 5)
    {
        std::vector<std::string> rx;
        for (int n = 1; n <= count; ++n)
            rx.push_back(Rx(n));
        return rx;
    }
    // The grid's columns with plain titles: the channel number, then every field.
    static std::vector<SheetColumn> Columns()
    {
        std::vector<SheetColumn> columns{{1, {"No."}, {}, {}}};
        for (const ChannelField& f : ChannelFields())
            columns.push_back({f.number,
                               {"F" + std::to_string(f.number)},
                               std::vector<std::string>(f.items.begin(), f.items.end()),
                               {"None"}});
        return columns;
    }
};

TEST_F(ChannelSheet, MovesSwapWithTheNeighbourAndStopAtTheEdges)
{
    const std::vector<int> block{2, 3};
    EXPECT_TRUE(MoveChannels(block, -1));
    EXPECT_EQ(Rxs(), (std::vector<std::string>{"420.00000", "410.00000", "430.00000", "400.00000", ""}));
    EXPECT_EQ(ALL.CurrentChannel, 2) << "the current channel moves with its channel";
    EXPECT_TRUE(MoveChannels(std::vector<int>{1, 2}, 1));
    EXPECT_EQ(Rxs(), (std::vector<std::string>{"430.00000", "420.00000", "410.00000", "400.00000", ""}));

    const auto before = ALL.Image;
    EXPECT_FALSE(MoveChannels(std::vector<int>{1, 2}, -1));
    EXPECT_FALSE(MoveChannels(std::vector<int>{16}, 1));
    EXPECT_EQ(ALL.Image, before);
}

TEST_F(ChannelSheet, InsertNeedsAnEmptyLastChannelAndShiftsTheRestDown)
{
    EXPECT_TRUE(InsertEmptyChannel(2));
    EXPECT_EQ(Rxs(), (std::vector<std::string>{"430.00000", "", "420.00000", "410.00000", "400.00000"}));
    EXPECT_EQ(ALL.CurrentChannel, 4);

    InitChannel(16, "450.0");
    const auto before = ALL.Image;
    EXPECT_FALSE(InsertEmptyChannel(1));
    EXPECT_EQ(ALL.Image, before);
}

TEST_F(ChannelSheet, ClearFillDownAndSortWorkOnTheListedChannelsOnly)
{
    EncodeChannelField(1, 6, "0"); // TX power Low
    EXPECT_TRUE(FillDown(6, std::vector<int>{1, 2, 5}));
    TChannel c;
    ASSERT_TRUE(DecodeChannel(2, c));
    EXPECT_EQ(c.Power, 0);
    ASSERT_TRUE(DecodeChannel(3, c));
    EXPECT_EQ(c.Power, 1);
    EXPECT_FALSE(DecodeChannel(5, c)) << "an empty channel takes no option";
    EXPECT_TRUE(FillDown(2, std::vector<int>{1, 5}));
    EXPECT_EQ(Rx(5), "430.00000");

    EXPECT_TRUE(ClearChannels(std::vector<int>{1}));
    EXPECT_TRUE(SortByRxFrequency(std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(Rxs(6), (std::vector<std::string>{"400.00000", "410.00000", "420.00000", "430.00000", "", ""}));
    EXPECT_EQ(ALL.CurrentChannel, 2) << "410 was channel 3";
}

TEST_F(ChannelSheet, CopiedTextPastesBackAsTheSameRecords)
{
    EncodeChannelField(2, 4, "D023N");
    EncodeChannelField(2, 13, "2");
    const std::string text = ChannelsToText(Columns(), std::vector<int>{2, 5});
    EXPECT_EQ(text.substr(0, text.find('\n')), "No.\tF2\tF3\tF4\tF5\tF6\tF7\tF8\tF9\tF10\tF13");

    InitChannel(9, "401.0");
    const PasteReport report = PasteChannelText(text, Columns(), 8);
    EXPECT_EQ(report.taken, 2);
    EXPECT_TRUE(report.refused.empty());
    EXPECT_TRUE(std::equal(ALL.Image.begin() + ChannelOffset(2), ALL.Image.begin() + ChannelOffset(3),
                           ALL.Image.begin() + ChannelOffset(8)));
    EXPECT_EQ(Rx(9), "") << "an empty channel pastes as an empty channel";

    // The same rows without their title line, as a spreadsheet copies them.
    const PasteReport untitled = PasteChannelText(text.substr(text.find('\n') + 1), Columns(), 11);
    EXPECT_EQ(untitled.taken, 2);
    EXPECT_TRUE(std::equal(ALL.Image.begin() + ChannelOffset(2), ALL.Image.begin() + ChannelOffset(3),
                           ALL.Image.begin() + ChannelOffset(11)));
}

TEST_F(ChannelSheet, BadRowsAreRefusedWithTheirLineAndTheRestGoIn)
{
    const PasteReport report = PasteChannelText("garbage\n\x01\x02\xff\n445.0071\n\n999\n", Columns(), 5);
    EXPECT_EQ(report.rows, 4);
    EXPECT_EQ(report.taken, 1);
    ASSERT_EQ(report.refused.size(), 3u);
    EXPECT_EQ(report.refused[0].line, 1);
    EXPECT_EQ(report.refused[2].line, 5);
    EXPECT_TRUE(messages.shown.empty()) << "the checks report instead of showing messages";
    EXPECT_EQ(Rx(7), "445.00625") << "rounded onto the raster as typing does";
    EXPECT_EQ(Rxs(6), (std::vector<std::string>{"430.00000", "420.00000", "410.00000", "400.00000", "", ""}));
    EXPECT_NE(PasteReportText(report).find("Line 5:"), std::string::npos);

    const auto before = ALL.Image;
    const PasteReport noRx = PasteChannelText("No.\tF4\n1\t88.5\n", Columns(), 1);
    EXPECT_FALSE(noRx.problem.empty());
    const PasteReport badTone = PasteChannelText("F2\tF4\tF6\n446.0\tX12\tLow\n446.0\t88.5\tLoud\n", Columns(), 1);
    EXPECT_EQ(badTone.refused.size(), 2u);
    EXPECT_EQ(ALL.Image, before);
}

TEST_F(ChannelSheet, MoreRowsThanFitAskBeforeDroppingTheRest)
{
    std::string lines;
    for (int i = 0; i < 10000; ++i)
        lines += "446.0\n";
    const auto before = ALL.Image;
    EXPECT_TRUE(PasteChannelText(lines, Columns(), 3).cancelled);
    EXPECT_EQ(ALL.Image, before);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, kMsgQuestion);

    messages.answers.push_back(kMsgYes);
    const PasteReport report = PasteChannelText(lines, Columns(), 3);
    EXPECT_EQ(report.rows, 10000);
    EXPECT_EQ(report.taken, 14);
    EXPECT_EQ(Rx(16), "446.00000");
}

} // namespace
