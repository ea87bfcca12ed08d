// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/ListText.h"

using List = std::vector<std::string>;

TEST(SplitList, SeparatorsAndEmptyEntries)
{
    EXPECT_EQ(SplitList("English|Chinese"), (List{"English", "Chinese"}));
    EXPECT_EQ(SplitList("a||b"), (List{"a", "", "b"}));
    EXPECT_EQ(SplitList("a|"), (List{"a", ""}));
    EXPECT_EQ(SplitList("|a"), (List{"", "a"}));
    EXPECT_EQ(SplitList("|"), (List{"", ""}));
    EXPECT_EQ(SplitList("English"), (List{"English"}));
    // Only a '|' that is the very last character adds the empty entry.
    EXPECT_EQ(SplitList("a| "), (List{"a"}));
    EXPECT_EQ(SplitList("a|\t"), (List{"a"}));
}

TEST(SplitList, EmptyAndBlankTextsHoldNoEntries)
{
    EXPECT_TRUE(SplitList("").empty());
    EXPECT_TRUE(SplitList("   ").empty());
    EXPECT_TRUE(SplitList("\t\r\n\x01\x1f").empty());
}

TEST(SplitList, BlanksAndControlCharactersEndAnUnquotedEntry)
{
    EXPECT_EQ(SplitList("a b"), (List{"a", "b"}));
    EXPECT_EQ(SplitList("English|Simplified Chinese"), (List{"English", "Simplified", "Chinese"}));
    EXPECT_EQ(SplitList("  a  |  b  "), (List{"a", "b"}));
    EXPECT_EQ(SplitList("a\tb\x01"
                        "c"),
              (List{"a", "b", "c"}));
    EXPECT_EQ(SplitList("a |b"), (List{"a", "b"}));
}

TEST(SplitList, QuotedEntriesHoldBlanksSeparatorsAndQuotes)
{
    EXPECT_EQ(SplitList(" \"x y|z\" |w"), (List{"x y|z", "w"}));
    EXPECT_EQ(SplitList("English|\"Simplified Chinese\""), (List{"English", "Simplified Chinese"}));
    EXPECT_EQ(SplitList("\"say \"\"hi\"\"\"|b"), (List{"say \"hi\"", "b"}));
    EXPECT_EQ(SplitList("\"\"|b"), (List{"", "b"}));
    // An unclosed quote runs to the end of the text.
    EXPECT_EQ(SplitList("a|\"b c|d"), (List{"a", "b c|d"}));
    // Text right behind a closing quote starts the next entry.
    EXPECT_EQ(SplitList("\"x\"y|z"), (List{"x", "y", "z"}));
    // A quote inside an unquoted entry is an ordinary character.
    EXPECT_EQ(SplitList("a\"b|c"), (List{"a\"b", "c"}));
}

TEST(SplitList, NulEndsTheText)
{
    using namespace std::string_literals;
    EXPECT_EQ(SplitList("a|b\0|c"s), (List{"a", "b"}));
    EXPECT_EQ(SplitList("a|\0b"s), (List{"a", ""}));
    EXPECT_EQ(SplitList("\"a\0b\""s), (List{"a"}));
    EXPECT_TRUE(SplitList("\0a"s).empty());
}

TEST(SplitList, BytesAboveAsciiBelongToTheEntry)
{
    // UTF-8 "中文" and "English" as they appear in a Chinese settings file.
    EXPECT_EQ(SplitList("\xE8\x8B\xB1\xE6\x96\x87|\xE4\xB8\xAD\xE6\x96\x87"),
              (List{"\xE8\x8B\xB1\xE6\x96\x87", "\xE4\xB8\xAD\xE6\x96\x87"}));
    EXPECT_EQ(SplitList("\xFF\x80|\x7F"), (List{"\xFF\x80", "\x7F"}));
}

TEST(SplitList, LongAndSeparatorOnlyTextsTerminate)
{
    std::string many(100000, '|');
    EXPECT_EQ(SplitList(many).size(), 100001u);
    std::string longEntry(1 << 20, 'x');
    List one = SplitList(longEntry + "|y");
    ASSERT_EQ(one.size(), 2u);
    EXPECT_EQ(one[0].size(), longEntry.size());
    EXPECT_EQ(one[1], "y");
}
