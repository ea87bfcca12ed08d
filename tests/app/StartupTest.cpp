// SPDX-License-Identifier: GPL-3.0-or-later
#include <clocale>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/Startup.h"
#include "core/State.h"
#include "image/ChannelCodec.h"
#include "settings/Language.h"

TEST(Startup, BuildsTheGlobalStateFromNothing)
{
    TempDir dir;
    ALL.Modified = true;
    ALL.Image.fill(0x77);
    StartFresh(dir.path().string()); // no trailing separator given
    EXPECT_EQ(ALL.AppPath, dir.path().string() + "/");
    EXPECT_EQ(ALL.CurrentChannel, 1);
    EXPECT_EQ(ALL.BaudRate, 4800);
    EXPECT_EQ(ALL.FamilyName, "QV-300");
    EXPECT_EQ(ALL.FamilyCode, "QV30");
    EXPECT_EQ(ALL.ComPort, "Com1");
    EXPECT_EQ(ALL.LanguageId, 0);
    EXPECT_EQ(ALL.LanguageName, "English");
    EXPECT_EQ(ALL.IdentString.size(), 15u);
    EXPECT_FALSE(ALL.Modified);
    EXPECT_EQ(ALL.AreaCode, "");
    for (uint8_t b : ALL.Image)
        ASSERT_EQ(b, 0x00);
    EXPECT_EQ(MacList.Count(), 1);
    EXPECT_EQ(FrqList.Count(), 4);
    EXPECT_EQ(Language.ModError, "Model Type Wrong.");

    // Starting twice on one machine gives the same identification.
    std::string ident = ALL.IdentString;
    StartFresh(dir.path().string());
    EXPECT_EQ(ALL.IdentString, ident);
}

TEST(Startup, FirstDocumentIsTheDefaultBandOfTheFirstModel)
{
    TempDir dir;
    StartFresh(dir.path().string());
    StartFirstDocument();
    EXPECT_EQ(ALL.ModelCode, "QV30");
    EXPECT_EQ(ALL.ModelName, "QV-300");
    EXPECT_EQ(ALL.BandText, "400 - 520MHz");
    EXPECT_EQ(ALL.BandLow, 400);
    EXPECT_EQ(ALL.BandHigh, 520);
    EXPECT_EQ(ALL.ChannelCount, 16);
    EXPECT_EQ(ALL.KeyLayout, 3);
    EXPECT_EQ(ALL.Image[0x175], 0xF3);
    EXPECT_FALSE(ALL.Modified);
}

TEST(Startup, TakesPortAndLanguageFromTheSettingsFile)
{
    TempDir dir;
    dir.write("SysInfo.Ini", "[SysInfo]\r\nCom=COM3\r\nLanguage_ID=1\r\n");
    dir.write("Chinese.Ini", "[Language]\nModError=\xE6\x9C\xBA\xE5\x9E\x8B\xE9\x94\x99\xE8\xAF\xAF\n");
    StartFresh(dir.path().string());
    EXPECT_EQ(ALL.ComPort, "COM3");
    EXPECT_EQ(ALL.LanguageId, 1);
    EXPECT_EQ(ALL.LanguageName, "Chinese");
    EXPECT_EQ(Language.ModError, "\xE6\x9C\xBA\xE5\x9E\x8B\xE9\x94\x99\xE8\xAF\xAF");
    EXPECT_EQ(Language.ReadOk, "Reading Completed.");
}

TEST(Startup, NumbersKeepTheirPointUnderADecimalCommaLocale)
{
    TempDir dir;
    StartFresh(dir.path().string());
    StartFirstDocument();
    // A window toolkit sets the user's locale after start-up, so set it here.
    const char* set = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"})
        if ((set = std::setlocale(LC_ALL, name)))
            break;
    if (!set)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    MessageRecorder messages;
    EXPECT_EQ(CheckFrequencyText("446.0070"), "446.00625");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(FormatFrequency(146.525), "146.52500");
    EXPECT_EQ(CheckToneText("88"), "88.0");
    std::setlocale(LC_ALL, "C");
}
