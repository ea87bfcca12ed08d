// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/State.h"
#include "settings/Language.h"

using namespace std::string_literals;

namespace {

// Every field of the global table, in table order.
std::vector<std::string> Texts()
{
    std::vector<std::string> out;
    for (const MessageKey& m : kMessageKeys)
        out.push_back(Language.*m.field);
    return out;
}

std::vector<std::string> Defaults()
{
    std::vector<std::string> out;
    for (const MessageKey& m : kMessageKeys)
        out.push_back(m.defaultText);
    return out;
}

void Scribble()
{
    for (const MessageKey& m : kMessageKeys)
        Language.*m.field = "scribbled";
}

} // namespace

TEST(MessageTable, KeysAndDefaultsInTableOrder)
{
    std::vector<std::string> keys;
    for (const MessageKey& m : kMessageKeys)
        keys.push_back(m.key);
    EXPECT_EQ(keys, (std::vector<std::string>{
                        "Confirmation",    "ExitProgram",  "SaveProgram",  "Channel",      "Info",      "OutRange",
                        "Caution",         "FChBigT",      "Close",        "Open",         "ComError",  "ModError",
                        "PwdError",        "ClearData",    "Modforce",     "FileExists",   "All",       "ErrRange",
                        "ModelType",       "Frequency",    "ReadOk",       "WriteOk",      "PortError", "FileOpenError",
                        "FileCreateError", "FileNotSaved", "HelpNotShown", "FileTooLarge", "PortInUse"}));
    // Every key fills its own field: a field shared by two keys would lose
    // the first mark.
    TLanguage marks;
    for (size_t i = 0; i < kMessageKeys.size(); ++i)
        marks.*kMessageKeys[i].field = std::to_string(i);
    for (size_t i = 0; i < kMessageKeys.size(); ++i)
        EXPECT_EQ(marks.*kMessageKeys[i].field, std::to_string(i)) << kMessageKeys[i].key;

    TLanguage fresh;
    EXPECT_EQ(fresh.Info, " Information");
    EXPECT_EQ(fresh.OutRange, "Frequecy is Out of range.");
    EXPECT_EQ(fresh.Close, "Closed");
    EXPECT_EQ(fresh.Open, "Opened");
    EXPECT_EQ(fresh.FileExists, "The File is Exists,Replace it?");
    EXPECT_EQ(fresh.ErrRange, "The frequecy number come amiss!");
    EXPECT_EQ(fresh.ComError, "Please check all connections and communication port settings.");
    EXPECT_EQ(fresh.PortError, "Cannot Open Communication Port.");
    EXPECT_EQ(fresh.ExitProgram, "Do you wish to exit program?");

    fresh.Confirmation = "changed";
    fresh.PortError = "";
    fresh.Reset();
    EXPECT_EQ(fresh.Confirmation, "Confirmation");
    EXPECT_EQ(fresh.PortError, "Cannot Open Communication Port.");
}

TEST(LoadLanguage, MissingFileGivesEveryDefault)
{
    TempDir dir;
    StartFresh(dir.path().string());
    EXPECT_EQ(LanguageFilePath("Chinese"), dir.path().string() + "/Chinese.Ini");
    EXPECT_EQ(Texts(), Defaults());
    Scribble();
    LoadLanguage("Chinese");
    EXPECT_EQ(Texts(), Defaults());
}

TEST(LoadLanguage, FileOverOneMebibyteIsRefusedWithAMessage)
{
    TempDir dir;
    StartFresh(dir.path().string());
    MessageRecorder messages;
    std::string path = dir.write("Chinese.Ini", "[Language]\nReadOk=x\n;" + std::string(1 << 20, 'x'));
    LoadLanguage("Chinese");
    EXPECT_EQ(Texts(), Defaults());
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"The file is larger than 1 MiB and was not read: \"" + path + "\""});
}

TEST(LoadLanguage, FileTextsReplaceDefaultsKeyByKey)
{
    TempDir dir;
    dir.write("Test.Ini",
              "[fMainFrm]\n"
              "ReadOk=not this section\n"
              "[LANGUAGE]\n"
              "readok = Fertig \n"
              "Confirmation=\"  Frage  \"\n"
              "ComError=\n"
              ";WriteOk=commented out\n");
    StartFresh(dir.path().string());
    Scribble();
    LoadLanguage("Test");
    EXPECT_EQ(Language.ReadOk, "Fertig");
    EXPECT_EQ(Language.Confirmation, "  Frage  ");
    EXPECT_EQ(Language.ComError, ""); // an empty value is a value
    EXPECT_EQ(Language.WriteOk, "Writing Completed.");
    EXPECT_EQ(Language.Info, " Information");

    // Loading another language that lacks a key puts its default back.
    LoadLanguage("Nothing");
    EXPECT_EQ(Texts(), Defaults());
}

TEST(LoadLanguage, ChineseFileInGb18030OrUtf8)
{
    TempDir dir;
    const std::string utf8 = "\xE4\xB8\xAD\xE6\x96\x87"; // 中文
    dir.write("Gb.Ini", "[Language]\r\nModError=\xD6\xD0\xCE\xC4\r\nCaution=OK\r\n");
    dir.write("Utf.Ini", "\xEF\xBB\xBF[Language]\r\nModError=" + utf8 + "\r\nCaution=OK");
    StartFresh(dir.path().string());
    LoadLanguage("Gb");
    EXPECT_EQ(Language.ModError, utf8);
    EXPECT_EQ(Language.Caution, "OK");
    LoadLanguage("Utf");
    EXPECT_EQ(Language.ModError, utf8);
    EXPECT_EQ(Language.Caution, "OK"); // last line without a line end
}

TEST(LoadLanguage, StartUpLoadsTheCurrentLanguage)
{
    TempDir dir;
    dir.write("SysInfo.Ini", "[SysInfo]\nLanguage_ID=1\nLanguage_SW=English|Deutsch\n");
    dir.write("Deutsch.Ini", "[Language]\nExitProgram=Programm beenden?\n");
    dir.write("English.Ini", "[Language]\nExitProgram=wrong file\n");
    StartFresh(dir.path().string());
    EXPECT_EQ(Language.ExitProgram, "Programm beenden?");
    EXPECT_EQ(Language.SaveProgram, "Do you wish to save the changes?");
}

TEST(LoadLanguage, BrokenFilesNeverCrash)
{
    TempDir dir;
    std::string huge(1 << 18, '\xA1'); // three of them stay within the 1 MiB a file may have
    dir.write("Junk.Ini", "\0\0\0\xFF\xFE\x01[Language\n"s + huge + "\n[Language]\n" + huge + "=x\nReadOk=\0still\n"s +
                              "\xD6\n" + "WriteOk=" + huge);
    StartFresh(dir.path().string());
    LoadLanguage("Junk");
    EXPECT_EQ(Language.ReadOk, "\0still"s);
    EXPECT_FALSE(Language.WriteOk.empty());
    EXPECT_EQ(Language.Confirmation, "Confirmation");

    dir.write("Bin.Ini", std::string(4096, '\0'));
    LoadLanguage("Bin");
    EXPECT_EQ(Texts(), Defaults());
}
