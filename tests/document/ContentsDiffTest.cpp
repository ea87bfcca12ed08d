// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "core/State.h"
#include "document/Backups.h"
#include "document/ContentsDiff.h"
#include "image/ChannelCodec.h"
#include "image/SettingFields.h"
#include "settings/Language.h"

namespace {

class ContentsDiff : public ::testing::Test {
protected:
    TempDir dir;
    RadioContents before;
    void SetUp() override
    {
        StartFresh(dir.path().string());
        StartFirstDocument();
        InitChannel(2, "446.00625");
        InitChannel(5, "446.1");
        before = DocumentContents();
    }
    std::vector<std::string> Lines()
    {
        std::vector<std::string> lines;
        for (const ContentChange& c : DiffContents(before, DocumentContents()))
            lines.push_back(ChangeLine(c));
        return lines;
    }
};

TEST_F(ContentsDiff, NamesChannelsSettingsAndBytesNoWindowShows)
{
    EXPECT_EQ(ChangesText(DiffContents(before, before)),
              "The radio already holds this document: nothing will change.\n");
    ClearChannel(2);
    InitChannel(7, "446.2");
    EncodeChannelField(5, 6, "0"); // TX Power: Low
    StoreFieldItem(*FindSettingField("fOptFun", "cxSQL"), 3);
    ALL.Image[0x160] ^= 0x0F;
    ALL.Image[0x161] ^= 0x0F;
    // A new write time stamp is no change.
    ALL.Image[kWriteStamp] ^= 0xFF;
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           "Channel 2: deleted",
                           "Channel 5, TX Power: High → Low",
                           "Channel 7: added (RX Frequency 446.20000, TX Frequency 446.20000, TX Power High, W/N Wide, "
                           "Scan Add Del, Busy Lock No, Epilogue On, PTT ID Off)",
                           "Optional Function, Squelch level: 5 → 3",
                           "other data at 0x160: FFFF → F0F0",
                       }));
}

TEST_F(ContentsDiff, EveryDifferentByteIsListed)
{
    RadioContents after = before;
    auto differences = [&](size_t at, uint8_t value) {
        after = before;
        after.image[at] = value;
        std::string text;
        for (const ContentChange& c : DiffContents(before, after))
            text += ChangeLine(c) + "\n";
        return text;
    };
    // Every bit a write sends, the time stamp aside.
    for (size_t at = 0; at < kWriteBlocks * kBlockSize; ++at)
        for (int bit = 0; bit < 8 && (at < kWriteStamp || at >= kWriteStamp + kStampSize); ++bit)
            ASSERT_NE(differences(at, before.image[at] ^ (1 << bit)), "") << at << " bit " << bit;
    // Values that show the same text, and bits beside a listed change.
    before.image[0x127] = 0x31; // short press codes 1 and 13 both show "Monmome"
    EXPECT_EQ(differences(0x127, 0x3D), "other data at 0x127: 31 → 3D\n");
    EXPECT_NE(differences(0x02C, before.image[0x02C] ^ 0x81).find("other data at 0x02C"), std::string::npos);
}

TEST_F(ContentsDiff, SpeaksTheLanguageOfTheWindowsAndNamesModelAndBand)
{
    std::filesystem::copy_file(std::string(QV300_DATA_DIR) + "/Chinese.Ini", dir.file("Chinese.Ini"));
    ALL.LanguageName = "Chinese";
    LoadLanguage("Chinese");
    EncodeChannelField(5, 6, "0"); // TX Power: Low
    StoreFieldItem(*FindSettingField("fOptFun", "cxTone"), 1 - FieldItem(*FindSettingField("fOptFun", "cxTone")));
    before.image[kBandCodeOffset] ^= 1;
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].rfind("频段：", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1], "信道 5，发射功率：高 → 低");
    EXPECT_NE(lines[2].find("可选功能，按键音："), std::string::npos) << lines[2];
}

TEST_F(ContentsDiff, FirstDifferentBlockNamesAChannelASettingOrTheBlock)
{
    RadioContents after = before;
    EXPECT_FALSE(FirstDifferentBlock(before.image.data(), after.image.data()));
    after.image[0x185] ^= 1; // the time stamp counts here: verify compares what was sent
    EXPECT_EQ(FirstDifferentBlock(before.image.data(), after.image.data())->place, "block 24");
    after.image[0x121] ^= 1;
    EXPECT_EQ(FirstDifferentBlock(before.image.data(), after.image.data())->place, "Optional Function: Squelch level");
    after.image[0x055] ^= 1;
    const auto d = FirstDifferentBlock(before.image.data(), after.image.data());
    EXPECT_EQ(d->block, 5);
    EXPECT_EQ(d->place, "Channel 5");
}

TEST(Backups, NamedBySerialAndTimeListedNewestFirst)
{
    TempDir dir;
    StartFresh(dir.path().string());
    StartFirstDocument();
    RadioContents radio = DocumentContents();
    const std::string serial = "AB 12/x";
    std::copy(serial.begin(), serial.end(), radio.image.begin() + kSerialNumber);
    EXPECT_EQ(SerialForFileName("AB12/X"), "AB12_X");
    EXPECT_EQ(SerialForFileName(""), "NOSERIAL");
    const std::string folder = dir.file("backups");
    std::string error;
    const std::string older = SaveBackup(radio, folder, 1700000000, &error);
    const std::string newer = SaveBackup(radio, folder, 1800000000, &error);
    const std::string again = SaveBackup(radio, folder, 1800000000, &error);
    ASSERT_FALSE(older.empty()) << error;
    EXPECT_EQ(std::filesystem::path(newer).filename().string().substr(0, 14), "AB12_X-2027011");
    EXPECT_NE(again, newer);
    const std::vector<BackupEntry> list = ListBackups(folder);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list.back().path, older);
    EXPECT_EQ(list[0].serial, "AB12/X");
    EXPECT_EQ(list[0].model, ALL.ModelName);
    EXPECT_EQ(list[0].band, ALL.BandText);
    const std::string oldest = std::filesystem::path(older).filename().string();
    EXPECT_EQ(list[0].sameAs, oldest);
    EXPECT_EQ(list[1].sameAs, oldest);
    EXPECT_EQ(list[2].sameAs, "");
    radio.image[kSerialNumber + 8] ^= 1;
    ASSERT_FALSE(SaveBackup(radio, folder, 1900000000, &error).empty()) << error;
    EXPECT_EQ(ListBackups(folder)[0].sameAs, "") << "other contents";
    EXPECT_EQ(SaveBackup(radio, older + "/inside", 1800000000, &error), "");
    EXPECT_FALSE(error.empty());
}

} // namespace
