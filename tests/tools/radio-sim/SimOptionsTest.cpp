// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "tools/radio-sim/SimOptions.h"

namespace {
using Kind = ExchangePoint::Kind;

ParsedOptions Parse(std::vector<std::string> args)
{
    return ParseSimOptions(args);
}
}

TEST(SimOptions, ReadsEveryOption)
{
    ParsedOptions p = Parse({"--memory",
                             "in.dat",
                             "--model",
                             "QV31",
                             "--pace",
                             "--save",
                             "out.dat",
                             "--wrong-tag",
                             "--unknown-model",
                             "--wrong-response",
                             "--silent-at",
                             "ack:3",
                             "--short-reply",
                             "4",
                             "--refuse-write",
                             "24",
                             "--hang-up-after",
                             "0",
                             "--noise-at",
                             "program",
                             "--noise-count",
                             "2",
                             "--fault-session",
                             "2",
                             "--echo",
                             "--corrupt-write",
                             "7",
                             "--power-loss-after",
                             "9"});
    ASSERT_TRUE(p.options) << p.error;
    const SimOptions& o = *p.options;
    EXPECT_EQ(o.memoryFile, "in.dat");
    EXPECT_EQ(o.modelCode, "QV31");
    EXPECT_TRUE(o.pace);
    EXPECT_EQ(o.saveFile, "out.dat");
    EXPECT_TRUE(o.faults.wrongTag);
    EXPECT_TRUE(o.faults.unknownModel);
    EXPECT_TRUE(o.faults.wrongResponse);
    EXPECT_TRUE(o.faults.echo);
    EXPECT_EQ(o.faults.silentAt, (ExchangePoint{Kind::Ack, 3}));
    EXPECT_EQ(o.faults.shortReplyBlock, 4);
    EXPECT_EQ(o.faults.refuseWriteBlock, 24);
    EXPECT_EQ(o.faults.hangUpAfterBlock, 0);
    EXPECT_EQ(o.faults.noiseAt, (ExchangePoint{Kind::Program, 0}));
    EXPECT_EQ(o.faults.noiseCount, 2u);
    EXPECT_EQ(o.faults.onlyInSession, 2);
    EXPECT_EQ(o.faults.corruptWriteBlock, 7);
    EXPECT_EQ(o.faults.powerLossAfterBlock, 9);

    ParsedOptions none = Parse({});
    ASSERT_TRUE(none.options);
    EXPECT_FALSE(none.options->pace);
    EXPECT_TRUE(none.options->memoryFile.empty());
    EXPECT_FALSE(none.options->faults.silentAt);
    EXPECT_FALSE(none.options->faults.onlyInSession);
}

TEST(SimOptions, RefusesWhatItCannotUse)
{
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--colour"},
             {"--memory"},
             {"--model", "QV3"},
             {"--model", "QV300"},
             {"--silent-at", "block:"},
             {"--silent-at", "later"},
             {"--noise-at", "ack:-1"},
             {"--short-reply", "five"},
             {"--hang-up-after", "-2"},
             {"--fault-session", "0"},
             {"--corrupt-write", "x"},
             {"--power-loss-after"},
         }) {
        ParsedOptions p = Parse(bad);
        EXPECT_FALSE(p.options) << bad[0];
        EXPECT_FALSE(p.error.empty()) << bad[0];
    }
    ParsedOptions help = Parse({"--pace", "--help"});
    EXPECT_FALSE(help.options);
    EXPECT_TRUE(help.error.empty());
}

TEST(SimOptions, PointsReadBackAsTheyAreWritten)
{
    for (const char* text : {"program", "ident", "auth", "ack:0", "ack:27", "block:0", "block:26"}) {
        std::optional<ExchangePoint> point = ParseExchangePoint(text);
        ASSERT_TRUE(point) << text;
        EXPECT_EQ(ExchangePointText(*point), text);
    }
    EXPECT_EQ(ParseExchangePoint("7"), (ExchangePoint{Kind::Block, 7})) << "a bare number is a block";
}
