// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>

#include "TestSupport.h"
#include "base/IniFile.h"
#include "base/TextEncoding.h"

using namespace std::string_literals;

namespace {

// "中文" in GB18030 and in UTF-8.
const std::string kZhongWenGb = "\xD6\xD0\xCE\xC4";
const std::string kZhongWenUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";

// Names of the files in the folder, to see that no scratch file is left.
std::vector<std::string> FileNames(const TempDir& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(IniRead, NamesMatchWithoutRegardToCase)
{
    TempDir dir;
    TIniFile ini(dir.write("a.ini", "[SysInfo]\nCom=COM3\n[other]\nKey=1\n"));
    EXPECT_EQ(ini.ReadString("sysinfo", "COM", "x"), "COM3");
    EXPECT_EQ(ini.ReadString("SYSINFO", "com", "x"), "COM3");
    EXPECT_EQ(ini.ReadString("Other", "KEY", "x"), "1");
    // A key belongs to its own section only.
    EXPECT_EQ(ini.ReadString("SysInfo", "Key", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("other", "Com", "dflt"), "dflt");
    EXPECT_FALSE(ini.Find("nosuch", "Com").has_value());
}

TEST(IniRead, ValuesAreTrimmedAndLoseOnePairOfQuotes)
{
    TempDir dir;
    TIniFile ini(dir.write("a.ini",
                           "[S]\n"
                           "  plain  =   two words \t\n"
                           "quoted=\"  keep blanks  \"\n"
                           "twice=\"\"x\"\"\n"
                           "open=\"abc\n"
                           "lone=\"\n"
                           "inner=a\"b\"c\n"
                           "empty=\n"
                           "blank=   \n"
                           "eq=a=b\n"));
    EXPECT_EQ(ini.ReadString("S", "plain", ""), "two words");
    EXPECT_EQ(ini.ReadString("S", "quoted", ""), "  keep blanks  ");
    EXPECT_EQ(ini.ReadString("S", "twice", ""), "\"x\"");
    EXPECT_EQ(ini.ReadString("S", "open", ""), "\"abc");
    EXPECT_EQ(ini.ReadString("S", "lone", ""), "\"");
    EXPECT_EQ(ini.ReadString("S", "inner", ""), "a\"b\"c");
    EXPECT_EQ(ini.ReadString("S", "eq", ""), "a=b");
    // An empty value is a value, not a missing key.
    ASSERT_TRUE(ini.Find("S", "empty").has_value());
    EXPECT_EQ(*ini.Find("S", "empty"), "");
    EXPECT_EQ(ini.ReadString("S", "blank", "dflt"), "");
}

TEST(IniRead, CommentsStrayLinesAndDuplicates)
{
    TempDir dir;
    TIniFile ini(dir.write("a.ini",
                           "k=before any section\n"
                           "[S]\n"
                           ";k=commented\n"
                           "   ; indented comment=1\n"
                           "no equals sign\n"
                           "k=first\n"
                           "K=second\n"
                           "[ T ] trailing text\n"
                           "t=1\n"
                           "[S]\n"
                           "k=third\n"
                           "late=yes\n"));
    EXPECT_EQ(ini.ReadString("S", "k", ""), "first");
    EXPECT_FALSE(ini.Find("S", ";k").has_value());
    EXPECT_FALSE(ini.Find("S", "no equals sign").has_value());
    EXPECT_EQ(ini.ReadString("T", "t", ""), "1");
    // A section named twice is one section for reading.
    EXPECT_EQ(ini.ReadString("S", "late", ""), "yes");
}

TEST(IniRead, MissingOrUnreadableFileReadsAsEmpty)
{
    TempDir dir;
    TIniFile missing(dir.file("none.ini"));
    EXPECT_EQ(missing.ReadString("S", "k", "dflt"), "dflt");
    TIniFile folder(dir.path().string()); // a folder, not a file
    EXPECT_EQ(folder.ReadString("S", "k", "dflt"), "dflt");
    TIniFile empty(dir.write("empty.ini", ""));
    EXPECT_EQ(empty.ReadString("S", "k", "dflt"), "dflt");
}

TEST(IniRead, LineEndsAndByteOrderMark)
{
    TempDir dir;
    TIniFile crlf(dir.write("crlf.ini", "[S]\r\na=1\r\nb=2\r\n"));
    EXPECT_EQ(crlf.ReadString("S", "a", ""), "1");
    EXPECT_EQ(crlf.ReadString("S", "b", ""), "2");
    TIniFile mixed(dir.write("mixed.ini", "[S]\na=1\r\nb=2"));
    EXPECT_EQ(mixed.ReadString("S", "a", ""), "1");
    EXPECT_EQ(mixed.ReadString("S", "b", ""), "2"); // no final newline
    TIniFile bom(dir.write("bom.ini", "\xEF\xBB\xBF[S]\r\na=" + kZhongWenUtf8 + "\r\n"));
    EXPECT_EQ(bom.ReadString("S", "a", ""), kZhongWenUtf8);
}

TEST(IniRead, Gb18030FileIsDecodedToUtf8)
{
    TempDir dir;
    TIniFile ini(dir.write("zh.ini", "[Language]\r\nModError=" + kZhongWenGb + "\r\nReadOk=OK\r\n"));
    EXPECT_EQ(ini.ReadString("Language", "ModError", ""), kZhongWenUtf8);
    EXPECT_EQ(ini.ReadString("Language", "ReadOk", ""), "OK");
}

TEST(IniRead, GarbageBinaryAndHugeLinesDoNotBreakReading)
{
    TempDir dir;
    std::string huge(1 << 18, 'x'); // two of them stay within the 1 MiB a file may have
    std::string binary = "\0\x01\xFF\xFE[\x80\x81=\x00\x00"s;
    TIniFile ini(dir.write("junk.ini", binary + "\n" + huge + "\n[S]\nbig=" + huge + "\n" + binary + "\nk=v"));
    EXPECT_EQ(ini.ReadString("S", "k", ""), "v");
    EXPECT_EQ(ini.ReadString("S", "big", "").size(), huge.size());

    // Random bytes of every kind, read and written, never crash.
    std::mt19937 rng(12345);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(rng() % 400, '\0');
        for (char& c : bytes)
            c = static_cast<char>(rng() % 4 == 0 ? "[]=;\"\r\n "[rng() % 8] : rng() % 256);
        std::string path = dir.write("fuzz.ini", bytes);
        TIniFile fuzz(path);
        (void)fuzz.ReadString("S", "k", "");
        ASSERT_TRUE(fuzz.WriteString("S", "k", "v"));
        EXPECT_EQ(TIniFile(path).ReadString("S", "k", ""), "v") << "round " << round;
    }
}

TEST(IniWrite, ReplacingAValueKeepsEveryOtherLine)
{
    TempDir dir;
    std::string path = dir.write("a.ini",
                                 "; settings\n"
                                 "[SysInfo]\n"
                                 "  COM =  COM1  ; not a comment\n"
                                 "Language_SW=English|Chinese\n"
                                 "\n"
                                 "[Other]\n"
                                 "Com=untouched\n");
    TIniFile ini(path);
    ASSERT_TRUE(ini.WriteString("sysinfo", "com", "COM7"));
    EXPECT_EQ(ReadAll(path),
              "; settings\n"
              "[SysInfo]\n"
              "  COM =COM7\n"
              "Language_SW=English|Chinese\n"
              "\n"
              "[Other]\n"
              "Com=untouched\n");
    EXPECT_EQ(ini.ReadString("SysInfo", "Com", ""), "COM7");
    EXPECT_EQ(TIniFile(path).ReadString("SysInfo", "Com", ""), "COM7");
}

TEST(IniWrite, NewKeysGoToTheEndOfTheirSectionAndNewSectionsToTheEnd)
{
    TempDir dir;
    std::string path = dir.write("a.ini", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2");
    TIniFile ini(path);
    ASSERT_TRUE(ini.WriteString("a", "z", "3"));
    ASSERT_TRUE(ini.WriteString("C", "w", "4"));
    EXPECT_EQ(ReadAll(path), "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n[C]\r\nw=4\r\n");
}

TEST(IniWrite, CreatesAMissingFile)
{
    TempDir dir;
    std::string path = dir.file("new.ini");
    TIniFile ini(path);
    ASSERT_TRUE(ini.WriteString("SysInfo", "Com", "Com1"));
    ASSERT_TRUE(ini.WriteString("SysInfo", "Language_ID", "0"));
    EXPECT_EQ(ReadAll(path), "[SysInfo]\nCom=Com1\nLanguage_ID=0\n");
    EXPECT_EQ(FileNames(dir), std::vector<std::string>{"new.ini"});
}

TEST(IniWrite, KeepsByteOrderMarkAndTheLegacyEncoding)
{
    TempDir dir;
    std::string bomPath = dir.write("bom.ini", "\xEF\xBB\xBF[S]\r\nk=1\r\n");
    ASSERT_TRUE(TIniFile(bomPath).WriteString("S", "k", kZhongWenUtf8));
    EXPECT_EQ(ReadAll(bomPath), "\xEF\xBB\xBF[S]\r\nk=" + kZhongWenUtf8 + "\r\n");

    // A GB18030 file stays GB18030: untouched lines keep their bytes, even
    // bytes that do not decode, and the new value is encoded back.
    std::string gbPath = dir.write("gb.ini", "[S]\r\nname=" + kZhongWenGb + "\r\nodd=\x81\x20\r\nk=1\r\n");
    TIniFile gb(gbPath);
    ASSERT_TRUE(gb.WriteString("S", "k", kZhongWenUtf8 + "!"));
    EXPECT_EQ(ReadAll(gbPath), "[S]\r\nname=" + kZhongWenGb + "\r\nodd=\x81\x20\r\nk=" + kZhongWenGb + "!\r\n");
    EXPECT_EQ(TIniFile(gbPath).ReadString("S", "k", ""), kZhongWenUtf8 + "!");
}

TEST(IniWrite, AFileKeepsItsEncodingAndItsLastLinesCarriageReturn)
{
    TempDir dir;
    // The only GB18030 text is the value replaced, and the new one (U+9686,
    // C2 A1 in GB18030) is also valid UTF-8, where it would read as U+00A1.
    const std::string wanted = "\xE9\x9A\x86";
    std::string gbPath = dir.write("gb.ini", "[S]\r\nk=\xB0\xA1\r\n");
    ASSERT_TRUE(TIniFile(gbPath).WriteString("S", "k", wanted));
    EXPECT_EQ(TIniFile(gbPath).ReadString("S", "k", ""), wanted);
    ASSERT_TRUE(TIniFile(gbPath).WriteString("S", "n", "1"));
    EXPECT_EQ(TIniFile(gbPath).ReadString("S", "k", ""), wanted);
    EXPECT_NE(ReadAll(gbPath).find("k=\xC2\xA1\r\nn=1\r\n"), std::string::npos);

    // Bytes that are not UTF-8 do not make a UTF-8 file read as GB18030.
    std::string utf8Path = dir.write("utf8.ini", "[S]\nname=" + kZhongWenUtf8 + "\n");
    ASSERT_TRUE(TIniFile(utf8Path).WriteString("S", "k", "a\xFF"));
    EXPECT_EQ(TIniFile(utf8Path).ReadString("S", "name", ""), kZhongWenUtf8);
    EXPECT_EQ(TIniFile(utf8Path).ReadString("S", "k", ""), "a?");

    // A CR that ends the file without its LF stays a line end.
    std::string crPath = dir.write("cr.ini", "[S]\nk=v\r");
    const std::string before = TIniFile(crPath).ReadString("S", "k", "");
    ASSERT_TRUE(TIniFile(crPath).WriteString("S", "k2", "w"));
    EXPECT_EQ(TIniFile(crPath).ReadString("S", "k", ""), before);
    EXPECT_EQ(ReadAll(crPath), "[S]\nk=v\r\nk2=w\n");
}

TEST(IniFile, FilesOverOneMebibyteAreNeitherReadNorWritten)
{
    TempDir dir;
    std::string head = "[S]\nk=v\n;";
    std::string atLimit = dir.write("limit.ini", head + std::string(TIniFile::kMaxFileSize - head.size(), 'x'));
    EXPECT_EQ(TIniFile(atLimit).ReadString("S", "k", ""), "v");
    std::string over = dir.write("over.ini", head + std::string(TIniFile::kMaxFileSize, 'x'));
    TIniFile big(over);
    EXPECT_TRUE(big.TooLarge());
    EXPECT_FALSE(big.Find("S", "k"));
    std::string error;
    EXPECT_FALSE(big.WriteString("S", "k", "w", &error));
    EXPECT_NE(error.find("larger than 1 MiB"), std::string::npos) << error;
    EXPECT_EQ(std::filesystem::file_size(over), head.size() + TIniFile::kMaxFileSize);
    // A device that never ends is read no further than the limit.
    EXPECT_TRUE(TIniFile("/dev/zero").TooLarge());
}

TEST(IniWrite, WritesOverChangesMadeByOthersSinceReading)
{
    TempDir dir;
    std::string path = dir.write("a.ini", "[S]\na=1\n");
    TIniFile ini(path);
    dir.write("a.ini", "[S]\na=1\nb=2\n");
    ASSERT_TRUE(ini.WriteString("S", "a", "9"));
    EXPECT_EQ(ReadAll(path), "[S]\na=9\nb=2\n");
}

TEST(IniWrite, FailureLeavesTheFileAndTheFolderAsTheyWere)
{
    TempDir dir;
    std::string error;
    TIniFile nowhere(dir.file("no/such/folder/a.ini"));
    EXPECT_FALSE(nowhere.WriteString("S", "k", "v", &error));
    EXPECT_FALSE(error.empty());

    std::filesystem::create_directory(dir.file("folder.ini"));
    error.clear();
    TIniFile folder(dir.file("folder.ini"));
    EXPECT_FALSE(folder.WriteString("S", "k", "v", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder.ini")));

    std::string path = dir.write("a.ini", "[S]\nk=old\n");
    TIniFile ini(path);
    EXPECT_FALSE(ini.WriteString("S", "k", "two\nlines", &error));
    EXPECT_FALSE(ini.WriteString("S", "", "v", &error));
    EXPECT_FALSE(ini.WriteString("S", "a=b", "v", &error));
    EXPECT_FALSE(ini.WriteString("S]", "k", "v", &error));
    EXPECT_FALSE(ini.WriteString("S", " k", "v", &error)); // read back as "k", found never
    EXPECT_FALSE(ini.WriteString("S ", "k", "v", &error));
    EXPECT_EQ(ReadAll(path), "[S]\nk=old\n");
    EXPECT_EQ(ini.ReadString("S", "k", ""), "old");
    EXPECT_EQ(FileNames(dir), (std::vector<std::string>{"a.ini", "folder.ini"}));
}

TEST(TextEncoding, Utf8Validation)
{
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain\0ascii"s));
    EXPECT_TRUE(IsValidUtf8(kZhongWenUtf8));
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80")); // U+1F600
    EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF")); // U+10FFFF
    EXPECT_FALSE(IsValidUtf8(kZhongWenGb));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong '/'
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));     // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE4\xB8"));         // cut short
    EXPECT_FALSE(IsValidUtf8("\x80"));             // lone trail byte
    EXPECT_FALSE(IsValidUtf8("\xFF"));
}

TEST(TextEncoding, Gb18030BothWays)
{
    EXPECT_EQ(Gb18030ToUtf8(kZhongWenGb), kZhongWenUtf8);
    EXPECT_EQ(Utf8ToGb18030(kZhongWenUtf8), kZhongWenGb);
    EXPECT_EQ(Gb18030ToUtf8("abc\0d"s), "abc\0d"s);
    // Two bytes for U+00E9 (as in GBK), four for U+0080, the first character
    // outside GBK, and for U+1F600, linear index 0x1F600 - 0x10000 from 90 30 81 30.
    EXPECT_EQ(Gb18030ToUtf8("\xA8\xA6"), "\xC3\xA9");
    EXPECT_EQ(Gb18030ToUtf8("\x81\x30\x81\x30"), "\xC2\x80");
    EXPECT_EQ(Utf8ToGb18030("\xF0\x9F\x98\x80"), "\x94\x39\xFC\x36");
    EXPECT_EQ(Gb18030ToUtf8(Utf8ToGb18030("\xF0\x9F\x98\x80")), "\xF0\x9F\x98\x80");
    // Bytes that do not decode become U+FFFD one by one; decoding goes on.
    EXPECT_EQ(Gb18030ToUtf8("a\xFF"
                            "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(Gb18030ToUtf8("\xD6"), "\xEF\xBF\xBD"); // cut short at the end
    EXPECT_EQ(Gb18030ToUtf8("\x81\x20" + kZhongWenGb), "\xEF\xBF\xBD " + kZhongWenUtf8);
    // Ill-formed UTF-8 becomes '?'.
    EXPECT_EQ(Utf8ToGb18030("a\xFF" + kZhongWenUtf8 + "\xE4\xB8"), "a?" + kZhongWenGb + "??");
}
