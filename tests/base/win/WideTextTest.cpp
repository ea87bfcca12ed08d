// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "base/win/WideText.h"

TEST(WideText, Utf8AndUtf16RoundTripAndBrokenInputBecomesTheReplacementCharacter)
{
    const std::string path =
        "C:\\Users\\\xE5\xBC\xA0\xE4\xBC\x9F\\\xF0\x9F\x93\xBB.dat"; // 张伟, a radio outside the BMP
    const std::wstring wide = WideFromUtf8(path);
    EXPECT_EQ(wide, L"C:\\Users\\\u5F20\u4F1F\\\U0001F4FB.dat");
    EXPECT_EQ(Utf8FromWide(wide), path);
    EXPECT_EQ(WideFromUtf8(""), L"");
    EXPECT_EQ(Utf8FromWide(L""), "");
    // Text after the bad byte survives; nothing is cut short.
    EXPECT_EQ(WideFromUtf8("a\xFF"
                           "b"),
              L"a\uFFFDb");
    EXPECT_EQ(Utf8FromWide(std::wstring{L'a', wchar_t(0xD800), L'b'}),
              "a\xEF\xBF\xBD"
              "b");
}
