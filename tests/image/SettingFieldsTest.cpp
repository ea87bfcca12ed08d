// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>

#include "TestSupport.h"
#include "core/State.h"
#include "image/Image.h"
#include "image/SettingFields.h"

namespace {
class SettingFieldsTest : public ::testing::Test {
protected:
    TempDir dir;
    void SetUp() override
    {
        StartFresh(dir.path().string());
        StartFirstDocument();
    }
    const SettingField& Field(const char* window, const char* control)
    {
        const SettingField* f = FindSettingField(window, control);
        EXPECT_NE(f, nullptr) << control;
        return *f;
    }
};
}

TEST_F(SettingFieldsTest, FieldsOfOneByteNeverShareABit)
{
    std::map<uint16_t, uint8_t> used;
    for (const SettingField& f : SettingFields()) {
        if (f.mapping == FieldMapping::NotStored)
            continue;
        const uint8_t bits = f.mask | f.valueMask;
        EXPECT_EQ(used[f.offset] & bits, 0) << f.window << " " << f.control;
        used[f.offset] |= bits;
        EXPECT_TRUE(f.offset >= 0x120 && f.offset <= 0x146) << f.control;
    }
}

TEST_F(SettingFieldsTest, EveryValueTheNormalisationKeepsHasAnItemText)
{
    // Every value the normalisation lets through must show as an item (the
    // scan speed's 9 as "550").
    for (const SettingField& f : SettingFields()) {
        if (!f.normal.checked || f.mapping != FieldMapping::Item)
            continue;
        for (int v = f.normal.min; v <= f.normal.max; ++v)
            EXPECT_FALSE(ItemText(f, v).empty()) << f.window << " " << f.control << " value " << v;
    }
    EXPECT_EQ(ItemText(Field("fScanFun", "cxScanSpeed"), 9), "550");
    EXPECT_EQ(ItemTexts(Field("fScanFun", "cxScanSpeed")).size(), 9u);
}

TEST_F(SettingFieldsTest, CountedListsHaveTheirItems)
{
    auto tot = ItemTexts(Field("fOptFun", "cxTot"));
    ASSERT_EQ(tot.size(), 41u);
    EXPECT_EQ(tot[0], "Off");
    EXPECT_EQ(tot[12], "180");
    EXPECT_EQ(tot[40], "600");
    auto bats = ItemTexts(Field("fOptFun", "cxBats"));
    EXPECT_EQ(bats, (std::vector<std::string>{"OFF", "1s", "2s", "3s", "4s", "5s", "6s", "7s", "8s", "9s"}));
    auto space = ItemTexts(Field("fDtmfFun", "cxTxTs"));
    ASSERT_EQ(space.size(), 16u);
    EXPECT_EQ(space[0], "None");
    EXPECT_EQ(space[1], "600");
    auto back = ItemTexts(Field("fDtmfFun", "cxBack"));
    ASSERT_EQ(back.size(), 61u);
    EXPECT_EQ(back[60], "60");
    EXPECT_EQ(ItemTexts(Field("fDtmfFun", "cxRate")).front(), "4");
    EXPECT_EQ(ItemTexts(Field("fDtmfFun", "cxRate")).back(), "15");
    EXPECT_EQ(ItemTexts(Field("fScanFun", "cxScanDely")).back(), "30");
    EXPECT_EQ(ItemTexts(Field("fScanFun", "cxPriCh")).size(), 17u);
    EXPECT_EQ(ItemText(Field("fDtmfFun", "cxRxTs"), 16), "");
}

TEST_F(SettingFieldsTest, BatterySaveAndVoiceKeepTheirHiddenBitsWhileOff)
{
    const SettingField& rate = Field("fOptFun", "cxRate");
    ALL.Image[0x121] = 0x65; // on, ratio 2, squelch 5
    EXPECT_EQ(FieldItem(rate), 3);
    StoreFieldItem(rate, 0);
    EXPECT_EQ(ALL.Image[0x121], 0x25);
    EXPECT_EQ(FieldItem(rate), 0);
    StoreFieldItem(rate, 4);
    EXPECT_EQ(ALL.Image[0x121], 0x75);
    StoreFieldItem(rate, 1);
    EXPECT_EQ(ALL.Image[0x121], 0x45);

    const SettingField& voice = Field("fOptFun", "cxWavs");
    ALL.Image[0x120] = 0xFF;
    EXPECT_EQ(FieldItem(voice), 2); // "China"
    StoreFieldItem(voice, 0);
    EXPECT_EQ(ALL.Image[0x120], 0xFE);
    StoreFieldItem(voice, 1);
    EXPECT_EQ(ALL.Image[0x120], 0xFD);
    EXPECT_EQ(FieldItem(voice), 1); // "English"
}

TEST_F(SettingFieldsTest, StarHashToneVoxTickAndPttIdMappings)
{
    const SettingField& tone = Field("fDtmfFun", "cxEfSv");
    const int itemOfStored[4] = {1, 2, 3, 0};
    for (int stored = 0; stored < 4; ++stored) {
        SetSettingField(0x22, 0x30, static_cast<uint8_t>(stored));
        EXPECT_EQ(FieldItem(tone), itemOfStored[stored]);
        StoreFieldItem(tone, itemOfStored[stored]);
        EXPECT_EQ(GetSettingField(0x22, 0x30), stored);
    }

    const SettingField& vox = Field("fVoxFun", "cxVoxS");
    EXPECT_EQ(FieldItem(vox), 0); // a new document: bit set, VOX off
    StoreFieldItem(vox, 1);
    EXPECT_EQ(ALL.Image[0x123], 0xE4);
    EXPECT_EQ(FieldItem(vox), 1);

    for (const SettingField* f : SettingFieldsOf("fDtmfFun")) {
        if (f->mapping != FieldMapping::Always3)
            continue;
        ALL.Image[0x142] = 0xFC;
        StoreFieldItem(*f, 0);
        EXPECT_EQ(ALL.Image[0x142], 0xFF);
    }
}

TEST_F(SettingFieldsTest, ValuesAboveTheNormalisedRangeAreStoredAndLaterReset)
{
    StoreFieldItem(Field("fOptFun", "cxTot"), 35); // 525 seconds
    EXPECT_EQ(ALL.Image[0x122], 35);
    StoreFieldItem(Field("fDtmfFun", "cxRxTs"), 13); // 1300 ms
    EXPECT_EQ(GetSettingField(0x26, 0x0F), 13);
    NormaliseSettings();
    EXPECT_EQ(ALL.Image[0x122], 12);
    EXPECT_EQ(GetSettingField(0x26, 0x0F), 0);
}

TEST(SideKeys, CodesAreFoundByTextAndCodeTwoIsNoShortPress)
{
    const auto shortList = DefaultKeyEntries(true);
    const auto longList = DefaultKeyEntries(false);
    EXPECT_EQ(KeyItems(shortList), (std::vector<std::string>{"Off", "Monmome", "Scan", "Warm", "Power H/L"}));
    EXPECT_EQ(KeyItems(longList).size(), 6u);
    // "Scan" is the third item offered but code 3.
    EXPECT_EQ(KeyCodeOfText(shortList, "Scan"), 3);
    EXPECT_EQ(KeyCodeOfText(longList, "Transient Monmome"), 2);
    EXPECT_EQ(KeyCodeOfText(shortList, "nothing"), 6);
    EXPECT_EQ(KeyTextOfCode(shortList, 2, true), "Monmome");
    EXPECT_EQ(KeyTextOfCode(longList, 2, false), "Transient Monmome");
    EXPECT_EQ(KeyTextOfCode(longList, 9, false), "");
    // A translated list with blanks around its entries keeps its codes.
    const std::vector<std::string> translated = {" Aus ", "Mithoeren", "  ", "Suchlauf ", "Warnung", "Leistung"};
    EXPECT_EQ(KeyItems(translated).size(), 5u);
    EXPECT_EQ(KeyCodeOfText(translated, "Suchlauf"), 3);
    EXPECT_EQ(KeyTextOfCode(translated, 3, true), "Suchlauf");
    EXPECT_EQ(KeyTextOfCode(translated, 2, true), "Mithoeren");
}
