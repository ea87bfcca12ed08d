// SPDX-License-Identifier: GPL-3.0-or-later
// GB18030 through the Windows code pages: the system's own GB18030 where it
// has it, GBK otherwise (Wine), and the same promises on both.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/TextEncoding.h"

TEST(WinTextConverter, ChineseTextsGoBothWaysAndWhatCannotBecomesAMark)
{
    // "对讲机（中文）" as the Chinese language file holds it.
    const std::string utf8 = "\xE5\xAF\xB9\xE8\xAE\xB2\xE6\x9C\xBA\xEF\xBC\x88\xE4\xB8\xAD\xE6\x96\x87\xEF\xBC\x89";
    const std::string gb = "\xB6\xD4\xBD\xB2\xBB\xFA\xA3\xA8\xD6\xD0\xCE\xC4\xA3\xA9";
    EXPECT_EQ(Utf8ToGb18030(utf8), gb);
    EXPECT_EQ(Gb18030ToUtf8(gb), utf8);
    EXPECT_EQ(Gb18030ToUtf8("a\xFF\xD6\xD0\xD6"), "a\xEF\xBF\xBD\xE4\xB8\xAD\xEF\xBF\xBD");
    EXPECT_EQ(Utf8ToGb18030("a\xFF\xE4\xB8\xAD"), "a?\xD6\xD0");

    // A character beyond GBK: encoded where the system has GB18030, a '?'
    // in its place otherwise, and never a best-fit look-alike.
    const std::string grin = "\xF0\x9F\x98\x80";
    EXPECT_EQ(Utf8ToGb18030("x" + grin + "y"), IsValidCodePage(54936) ? "x\x94\x39\xFC\x36y" : "x?y");
}
