// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "base/IniFile.h"
#include "core/State.h"
#include "settings/SysInfo.h"

using List = std::vector<std::string>;

namespace {

// Starts the program in a folder whose SysInfo.Ini holds `body` under
// [SysInfo].
void StartWith(const TempDir& dir, const std::string& body)
{
    dir.write("SysInfo.Ini", "[SysInfo]\n" + body);
    StartFresh(dir.path().string());
}

} // namespace

TEST(LoadSysInfo, NoFileGivesTheDefaults)
{
    TempDir dir;
    StartFresh(dir.path().string());
    EXPECT_EQ(SysInfoPath(), dir.path().string() + "/SysInfo.Ini");
    EXPECT_EQ(ALL.ComPort, "Com1");
    EXPECT_EQ(ALL.LanguageId, 0);
    EXPECT_EQ(ALL.LanguageName, "English");
    EXPECT_FALSE(std::filesystem::exists(SysInfoPath())); // reading never creates it
}

TEST(LoadSysInfo, ReadsPortAndLanguage)
{
    TempDir dir;
    StartWith(dir, "Com=COM4\nLanguage_ID=1\n");
    EXPECT_EQ(ALL.ComPort, "COM4");
    EXPECT_EQ(ALL.LanguageId, 1);
    EXPECT_EQ(ALL.LanguageName, "Chinese");

    // Section and key names match without regard to case; CRLF and quotes.
    dir.write("SysInfo.Ini", "[SYSINFO]\r\ncom = \"COM2\"\r\nLANGUAGE_id= +1 \r\nlanguage_sw=Deutsch|Francais\r\n");
    StartFresh(dir.path().string());
    EXPECT_EQ(ALL.ComPort, "COM2");
    EXPECT_EQ(ALL.LanguageId, 1);
    EXPECT_EQ(ALL.LanguageName, "Francais");
}

TEST(LoadSysInfo, BadLanguageIdFallsBackToTheDesignLanguage)
{
    TempDir dir;
    for (const char* id : {"abc", "", "1x", "1.0", "0x1", "99999999999"}) {
        StartWith(dir, std::string("Language_ID=") + id + "\n");
        EXPECT_EQ(ALL.LanguageId, 0) << id;
        EXPECT_EQ(ALL.LanguageName, "English") << id;
    }
    // Outside the list, either side: index 0 and "English", not entry 0.
    for (const char* id : {"-1", "2", "5", "-2147483648", "2147483647"}) {
        StartWith(dir, std::string("Language_ID=") + id + "\nLanguage_SW=Chinese|Deutsch\n");
        EXPECT_EQ(ALL.LanguageId, 0) << id;
        EXPECT_EQ(ALL.LanguageName, "English") << id;
    }
    // Letters with a list whose first entry is not English: loading goes on
    // with index 0 and takes that entry.
    StartWith(dir, "Language_ID=abc\nLanguage_SW=Chinese|Deutsch\n");
    EXPECT_EQ(ALL.LanguageId, 0);
    EXPECT_EQ(ALL.LanguageName, "Chinese");
}

TEST(LoadSysInfo, ShortLanguageListFallsBackToTheDesignLanguage)
{
    TempDir dir;
    StartWith(dir, "Language_ID=1\nLanguage_SW=Chinese\n");
    EXPECT_EQ(ALL.LanguageId, 0);
    EXPECT_EQ(ALL.LanguageName, "English");
    StartWith(dir, "Language_ID=0\nLanguage_SW=Chinese\n");
    EXPECT_EQ(ALL.LanguageName, "English");
    StartWith(dir, "Language_ID=0\nLanguage_SW=\n");
    EXPECT_EQ(ALL.LanguageName, "English");
    // A trailing '|' makes a second, empty entry.
    StartWith(dir, "Language_ID=1\nLanguage_SW=Chinese|\n");
    EXPECT_EQ(ALL.LanguageId, 1);
    EXPECT_EQ(ALL.LanguageName, "");
}

TEST(LoadSysInfo, BlankInsideAnEntrySplitsItUnlessQuoted)
{
    TempDir dir;
    StartWith(dir, "Language_ID=1\nLanguage_SW=English|Simplified Chinese\n");
    EXPECT_EQ(ALL.LanguageName, "Simplified");
    StartWith(dir, "Language_ID=2\nLanguage_SW=English|Simplified Chinese\n");
    EXPECT_EQ(ALL.LanguageName, "Chinese");
    StartWith(dir, "Language_ID=1\nLanguage_SW=English|\"Simplified Chinese\"\n");
    EXPECT_EQ(ALL.LanguageName, "Simplified Chinese");
}

TEST(LoadSysInfo, BrokenFilesGiveTheDefaults)
{
    using namespace std::string_literals;
    TempDir dir;
    std::string huge((1 << 20) - 4096, 'C'); // a file may have 1 MiB
    dir.write("SysInfo.Ini", "\xEF\xBB\xBF\0\0\xFF\xFE garbage ]]][[[ ==\n"s + huge + "\n[SysInfo\x01]\n\0Com=X"s);
    StartFresh(dir.path().string());
    EXPECT_EQ(ALL.ComPort, "Com1");
    EXPECT_EQ(ALL.LanguageId, 0);
    EXPECT_EQ(ALL.LanguageName, "English");

    // A value of almost a megabyte is taken whole.
    StartWith(dir, "Com=" + huge);
    EXPECT_EQ(ALL.ComPort.size(), huge.size());
}

TEST(LoadSysInfo, AFileOverOneMebibyteIsNamedInAMessage)
{
    TempDir dir;
    MessageRecorder messages;
    std::string path = dir.write("SysInfo.Ini", "[SysInfo]\nCom=COM7\n;" + std::string(1 << 20, 'x'));
    StartFresh(dir.path().string());
    EXPECT_EQ(ALL.ComPort, "Com1");
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"The file is larger than 1 MiB and was not read: \"" + path + "\""});
}

TEST(SaveSysInfo, CreatesTheFileWithPortAndIndexOnly)
{
    TempDir dir;
    StartFresh(dir.path().string());
    std::string error;
    ASSERT_TRUE(SaveSysInfo(&error)) << error;
    EXPECT_EQ(ReadAll(SysInfoPath()), "[SysInfo]\nCom=Com1\nLanguage_ID=0\n");
}

TEST(SaveSysInfo, ChoicesSurviveARestart)
{
    TempDir dir;
    StartFresh(dir.path().string());
    ALL.ComPort = "COM7";
    ALL.LanguageId = 1;
    ALL.LanguageName = "Chinese";
    ASSERT_TRUE(SaveSysInfo());
    ALL.ComPort = "lost";
    StartFresh(dir.path().string());
    EXPECT_EQ(ALL.ComPort, "COM7");
    EXPECT_EQ(ALL.LanguageId, 1);
    EXPECT_EQ(ALL.LanguageName, "Chinese");
}

TEST(SaveSysInfo, KeepsEverythingElseInTheFile)
{
    TempDir dir;
    const std::string before =
        "\xEF\xBB\xBF; port and language\r\n"
        "[sysinfo]\r\n"
        "com=COM3\r\n"
        "Language_SW=English|Chinese\r\n"
        "Language=English|Chinese\r\n"
        "English=English|\"Simplified Chinese\"\r\n"
        "\r\n"
        "[Other]\r\n"
        "Language_ID=untouched\r\n";
    dir.write("SysInfo.Ini", before);
    StartFresh(dir.path().string());
    ALL.LanguageId = 1;
    ASSERT_TRUE(SaveSysInfo());
    EXPECT_EQ(ReadAll(SysInfoPath()),
              "\xEF\xBB\xBF; port and language\r\n"
              "[sysinfo]\r\n"
              "com=COM3\r\n"
              "Language_SW=English|Chinese\r\n"
              "Language=English|Chinese\r\n"
              "English=English|\"Simplified Chinese\"\r\n"
              "Language_ID=1\r\n"
              "\r\n"
              "[Other]\r\n"
              "Language_ID=untouched\r\n");
}

TEST(SaveSysInfo, UnwritablePlaceReturnsFalse)
{
    TempDir dir;
    StartFresh(dir.path().string());
    ALL.AppPath = dir.file("missing/folder") + "/";
    std::string error;
    EXPECT_FALSE(SaveSysInfo(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));

    // A folder in the way of the file.
    ALL.AppPath = dir.path().string() + "/";
    std::filesystem::create_directory(SysInfoPath());
    error.clear();
    EXPECT_FALSE(SaveSysInfo(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(std::filesystem::is_directory(SysInfoPath()));
}

TEST(ReadLanguageList, DefaultsWithoutAFile)
{
    TempDir dir;
    StartFresh(dir.path().string());
    List display{"kept"}, files;
    ReadLanguageList(display, files);
    EXPECT_EQ(display, (List{"kept", "English", "Chinese"})); // appends
    EXPECT_EQ(files, (List{"English", "Chinese"}));
}

TEST(ReadLanguageList, DialogUsesLanguageWhileStartUpUsesLanguageSw)
{
    TempDir dir;
    StartWith(dir,
              "Language_ID=1\n"
              "Language_SW=English|Deutsch\n"
              "Language=English|Chinese\n"
              "Deutsch=Englisch|Chinesisch\n"
              "English=English|Chinese\n");
    EXPECT_EQ(ALL.LanguageName, "Deutsch");
    List display, files;
    ReadLanguageList(display, files);
    EXPECT_EQ(files, (List{"English", "Chinese"}));
    EXPECT_EQ(display, (List{"Englisch", "Chinesisch"})); // key named like the current language
}

TEST(ReadLanguageList, DisplayNamesOfAChineseFile)
{
    TempDir dir;
    // "英文|中文" written by a Chinese Windows: GB18030 bytes.
    dir.write("SysInfo.Ini", "[SysInfo]\r\nLanguage_ID=1\r\nChinese=\xD3\xA2\xCE\xC4|\xD6\xD0\xCE\xC4\r\n");
    StartFresh(dir.path().string());
    List display, files;
    ReadLanguageList(display, files);
    EXPECT_EQ(display, (List{"\xE8\x8B\xB1\xE6\x96\x87", "\xE4\xB8\xAD\xE6\x96\x87"}));

    // Saving keeps the file GB18030.
    ASSERT_TRUE(SaveSysInfo());
    EXPECT_EQ(ReadAll(SysInfoPath()),
              "[SysInfo]\r\nLanguage_ID=1\r\nChinese=\xD3\xA2\xCE\xC4|\xD6\xD0\xCE\xC4\r\nCom=Com1\r\n");
}
