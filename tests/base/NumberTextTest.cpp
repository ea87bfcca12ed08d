// SPDX-License-Identifier: GPL-3.0-or-later
#include <clocale>
#include <gtest/gtest.h>

#include <cfloat>
#include <locale>

#include "base/NumberText.h"

TEST(NumberText, ParsesWhatUsersTypeAndRefusesTheRest)
{
    EXPECT_DOUBLE_EQ(*ParseNumber("446.00625"), 446.00625);
    EXPECT_DOUBLE_EQ(*ParseNumber("  88 "), 88.0);
    EXPECT_DOUBLE_EQ(*ParseNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(*ParseNumber("5."), 5.0);
    EXPECT_DOUBLE_EQ(*ParseNumber("-1.5e2"), -150.0);
    EXPECT_DOUBLE_EQ(*ParseNumber("+7"), 7.0);
    for (const char* bad : {"", "  ", "4.5.6", "12abc", ".", "e5", "1e", "inf", "nan", "0x10", "1,5", "--1"})
        EXPECT_FALSE(ParseNumber(bad).has_value()) << bad;
}

TEST(NumberText, ParsesWholeNumbers)
{
    EXPECT_EQ(ParseInteger(" 12 "), 12);
    EXPECT_EQ(ParseInteger("-3"), -3);
    EXPECT_FALSE(ParseInteger("1.0").has_value());
    EXPECT_FALSE(ParseInteger("abc").has_value());
    EXPECT_FALSE(ParseInteger("99999999999").has_value());
}

TEST(NumberText, FormatsLikeTheMasksAndRoundsHalfAwayFromZero)
{
    EXPECT_EQ(FormatFixed(146.525, 5), "146.52500");
    EXPECT_EQ(FormatFixed(0, 5), "0.00000");
    EXPECT_EQ(FormatFixed(67, 1), "67.0");
    EXPECT_EQ(FormatFixed(254.15, 1), "254.2"); // binary value lies below .15
    EXPECT_EQ(FormatFixed(146.525, 2), "146.53");
    EXPECT_EQ(FormatFixed(44600625.0, 0, 8), "44600625");
    EXPECT_EQ(FormatFixed(670.0, 0, 4), "0670");
    EXPECT_EQ(FormatFixed(9.99996, 4), "10.0000");
    EXPECT_EQ(FormatFixed(0.000004, 5), "0.00000");
    EXPECT_EQ(FormatFixed(-2.5, 0), "-3");
}

TEST(NumberText, FormatsEveryValueIntoATextThatReadsBack)
{
    for (double v : {DBL_MAX, -DBL_MAX, 1.7976931348623e308, DBL_MIN})
        for (int decimals : {0, 3})
            EXPECT_TRUE(ParseNumber(FormatFixed(v, decimals))) << v << " with " << decimals;
    EXPECT_EQ(*ParseNumber(FormatFixed(DBL_MAX, 0)), DBL_MAX);
    EXPECT_EQ(FormatFixed(0, 0, 0), "0");
    EXPECT_EQ(FormatFixed(-0.4, 0, 0), "0");
    EXPECT_EQ(FormatFixed(0.25, 1, 0), ".3");
    EXPECT_EQ(FormatFixed(2.5, -2), "3");
}

TEST(NumberText, IgnoresADecimalCommaLocale)
{
    const char* commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8", "nl_NL.UTF-8"};
    const char* set = nullptr;
    for (const char* name : commaLocales)
        if ((set = std::setlocale(LC_ALL, name)))
            break;
    // Also a C++ global locale with a comma, which some libraries consult.
    struct Comma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    if (set) {
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    }
    std::locale previous = std::locale::global(std::locale(std::locale::classic(), new Comma));
    EXPECT_EQ(FormatFixed(146.525, 5), "146.52500");
    EXPECT_DOUBLE_EQ(*ParseNumber("446.00625"), 446.00625);
    EXPECT_FALSE(ParseNumber("446,00625").has_value());
    std::locale::global(previous);
    std::setlocale(LC_ALL, "C");
}
