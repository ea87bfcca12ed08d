// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "base/NumberText.h"
#include "editors/AreaTable.h"

namespace {
int RangeStart(const AreaRow& row)
{
    return ParseInteger(row.Range.substr(0, 3)).value_or(-1);
}
int RangeEnd(const AreaRow& row)
{
    return ParseInteger(row.Range.substr(4, 3)).value_or(-1);
}
}

TEST(AreaTable, RowsAreUniqueAndEveryCityPointsBackAtItsProvince)
{
    std::set<std::string> codes;
    for (int row = 0; row < kAreaRows; ++row) {
        AreaRow r = AreaTableRow(row);
        EXPECT_EQ(r.Code.size(), 4u) << row;
        EXPECT_FALSE(r.English.empty()) << row;
        EXPECT_FALSE(r.Chinese.empty()) << row;
        EXPECT_TRUE(codes.insert(r.Code).second) << "duplicate code " << r.Code;
    }
    EXPECT_EQ(AreaTableRow(316).Range, "FFFFFFF");
    EXPECT_EQ(AreaTableRow(0).English, "Unknown Area");
    EXPECT_EQ(AreaTableRow(36).English, "User-Defined");

    // Provinces' ranges cover rows 37 to 315 without gap or overlap, and each
    // city's range is its province row and its position from 001.
    int next = 37;
    for (int province = 1; province <= 36; ++province) {
        AreaRow p = AreaTableRow(province);
        if (RangeStart(p) == 0) {
            EXPECT_EQ(p.Range, "000-000") << province;
            continue;
        }
        ASSERT_EQ(RangeStart(p), next) << p.English;
        for (int city = RangeStart(p); city <= RangeEnd(p); ++city) {
            AreaRow c = AreaTableRow(city);
            EXPECT_EQ(RangeStart(c), province) << c.English;
            EXPECT_EQ(RangeEnd(c), city - RangeStart(p) + 1) << c.English;
        }
        next = RangeEnd(p) + 1;
    }
    EXPECT_EQ(next, 316);
}

TEST(AreaTable, LookupFollowsTheCodeKinds)
{
    EXPECT_EQ(LookupArea("0592", false), "Fujian - XIA MEN");
    EXPECT_EQ(LookupArea("0592", true), "福建省 - 厦门市");
    EXPECT_EQ(LookupArea("0100", false), "Beijing");
    EXPECT_EQ(LookupArea("0100", true), "北京市");
    EXPECT_EQ(LookupArea("0000", false), "User-Defined");
    EXPECT_EQ(LookupArea("1234", false), "User-Defined - 1234");
    EXPECT_EQ(LookupArea("1234", true), "自定义 - 1234");
    EXPECT_EQ(LookupArea("12", false), "");
    EXPECT_EQ(LookupArea("", false), "");
    EXPECT_EQ(LookupArea("05920", false), "");
    EXPECT_EQ(LookupArea("0xyz", false), "Unknown Area");
    EXPECT_EQ(LookupArea("12a4", false), "Unknown Area");
    EXPECT_EQ(LookupArea("    ", false), "Unknown Area");
    // The end marker is never a match.
    EXPECT_EQ(LookupArea("FFFF", false), "Unknown Area");
    // Codes are compared exactly.
    EXPECT_EQ(LookupArea("a310", false), "Unknown Area");
    EXPECT_EQ(LookupArea("X036", false), "Unknown Area");
    // The last city of the table and the three romanised ones.
    EXPECT_EQ(LookupArea("0999", false), "Xinjiang - YI LI");
    EXPECT_EQ(LookupArea("0431", false), "Jilin - CHANG CHUN");
    EXPECT_EQ(LookupArea("0458", false), "Helongjiang - YI CHUN");
    EXPECT_EQ(LookupArea("0795", false), "Jiangxi - YI CHUN");
    EXPECT_EQ(LookupArea("0431", true), "吉林省 - 长春市");
}

TEST(AreaTable, ProvinceCodesNameTheirFirstCityThenTheProvince)
{
    const std::pair<const char*, const char*> expected[] = {
        {"A310", "HAN DAN - Hebei"},
        {"A350", "SHUO ZHOU - Shanxi"},
        {"A470", "HU LUN BEI ER - Inner Mongolia"},
        {"A240", "SHEN YANG - Liaoning"},
        {"A430", "CHANG CHUN - Jilin"},
        {"A450", "HA ER BIN - Helongjiang"},
        {"A250", "NAN JING - Jiangsu"},
        {"A570", "QU ZHOU - Zhejiang"},
        {"A550", "CHU ZHOU - Anhui"},
        {"A590", "FU ZHOU - Fujian"},
        {"A790", "YING TAN - Jiangxi"},
        {"A530", "HE ZE - Shandong"},
        {"A370", "SHANG QIU - Henan"},
        {"A270", "WU HAN - Hubei"},
        {"A730", "CHANG SHA - Hunan"},
        {"A200", "GUANG ZHOU - Guangdong"},
        {"A770", "FANG CHENG GANG - Guangxi"},
        {"A898", "HAI KOU - Hainan"},
        {"A280", "CHENG DU - Sichuan"},
        {"A850", "GUI YANG - Guizhou"},
        {"A870", "ZHAO TONG - Yunnan"},
        {"A890", "LA SA - Tibet"},
        {"A290", "XI AN - Shanxi"},
        {"A930", "LAN ZHOU - Gansu"},
        {"A970", "XI NING - Qinghai"},
        {"A950", "YIN CHUAN - Ningxia"},
        {"A990", "KA LA MA YI - Xinjiang"},
    };
    for (const auto& [code, text] : expected)
        EXPECT_EQ(LookupArea(code, false), text) << code;
    EXPECT_EQ(LookupArea("A590", true), "福州市 - 福建省");
    // The rows without cities give their own name.
    EXPECT_EQ(LookupArea("0220", false), "Tianjin");
    EXPECT_EQ(LookupArea("A852", false), "HongKong");
    EXPECT_EQ(LookupArea("0111", false), "Overseas");
}
