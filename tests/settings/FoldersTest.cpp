// SPDX-License-Identifier: GPL-3.0-or-later
// Where an installed program and one run from its folder find their files.
#include <filesystem>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/State.h"
#include "settings/Folders.h"
#include "settings/Language.h"
#include "settings/SysInfo.h"

namespace fs = std::filesystem;

namespace {

class Folders : public ::testing::Test {
protected:
    TempDir dir;
    std::string Prefix() const { return dir.path().string() + "/usr"; }
    void MakeInstalledTree() const
    {
        fs::create_directories(Prefix() + "/bin");
        fs::create_directories(Prefix() + "/share/qv300");
    }
    void TearDown() override { SetSettingsFolder(""); }
};

TEST_F(Folders, ABuildTreeOrUnpackedFolderKeepsEverythingNextToTheExecutable)
{
    fs::create_directories(dir.path() / "build");
    TFolders f = ResolveFolders(dir.file("build"), "/home/u/.config", "/home/u");
    EXPECT_FALSE(f.installed);
    EXPECT_EQ(f.program, dir.file("build/"));
    EXPECT_EQ(f.settings, f.program);

    // A folder called bin without share/qv300 beside it is just a folder.
    fs::create_directories(dir.path() / "bin");
    EXPECT_FALSE(ResolveFolders(dir.file("bin/"), nullptr, "/home/u").installed);
}

TEST_F(Folders, AnInstalledProgramReadsSharedFilesAndKeepsSettingsInTheUsersFolder)
{
    MakeInstalledTree();
    TFolders f = ResolveFolders(Prefix() + "/bin/", "/xdg", "/home/u");
    EXPECT_TRUE(f.installed);
    EXPECT_EQ(f.program, Prefix() + "/share/qv300/");
    EXPECT_EQ(f.settings, "/xdg/qv300/");
    EXPECT_EQ(ResolveFolders(Prefix() + "/bin", nullptr, "/home/u").settings, "/home/u/.config/qv300/");
    // A relative XDG_CONFIG_HOME is not valid and is ignored.
    EXPECT_EQ(ResolveFolders(Prefix() + "/bin", "rel", "/home/u").settings, "/home/u/.config/qv300/");

    // The backups: the user's data folder when installed, beside the
    // executable otherwise.
    EXPECT_EQ(ResolveBackupFolder(f, "/data", "/home/u"), "/data/qv300/backups/");
    EXPECT_EQ(ResolveBackupFolder(f, "rel", "/home/u"), "/home/u/.local/share/qv300/backups/");
    fs::create_directories(dir.path() / "build");
    EXPECT_EQ(ResolveBackupFolder(ResolveFolders(dir.file("build"), nullptr, "/home/u"), "/data", "/home/u"),
              dir.file("build/backups/"));
}

TEST(WindowsFolders, PortableKeepsSettingsBesideTheProgramInstalledUsesAppDataBackupsGoToDocuments)
{
    const TKnownFolders known{"C:\\Users\\张伟\\AppData\\Roaming", "C:\\Users\\张伟\\Documents\\"};
    TFolders portable = ResolveWindowsFolders("D:\\QV300", true, known);
    EXPECT_FALSE(portable.installed);
    EXPECT_EQ(portable.program, "D:\\QV300\\");
    EXPECT_EQ(portable.settings, "D:\\QV300\\");
    EXPECT_EQ(portable.backups, "C:\\Users\\张伟\\Documents\\QV-300\\Backups\\");

    TFolders installed = ResolveWindowsFolders("C:\\Program Files\\QV-300\\", false, known);
    EXPECT_TRUE(installed.installed);
    EXPECT_EQ(installed.program, "C:\\Program Files\\QV-300\\");
    EXPECT_EQ(installed.settings, "C:\\Users\\张伟\\AppData\\Roaming\\QV-300\\");
    const std::string previous = BackupFolder();
    SetBackupFolder(installed.backups);
    EXPECT_EQ(BackupFolder(), installed.backups); // no second separator
    SetBackupFolder(previous);

    // Where the system names no folders, everything stays beside the program.
    TFolders bare = ResolveWindowsFolders("C:\\Program Files\\QV-300", false, {});
    EXPECT_FALSE(bare.installed);
    EXPECT_EQ(bare.settings, "C:\\Program Files\\QV-300\\");
    EXPECT_EQ(bare.backups, "C:\\Program Files\\QV-300\\Backups\\");
}

TEST_F(Folders, InstalledStartUpUsesSharedDefaultsAndWritesTheUsersFileOnly)
{
    MakeInstalledTree();
    const std::string shared = Prefix() + "/share/qv300/";
    TempDir home;
    const std::string config = home.path().string() + "/cfg";
    dir.write("usr/share/qv300/SysInfo.Ini",
              "[SysInfo]\nCom=COM2\nLanguage_ID=1\nLanguage_SW=English|Chinese\nChinese=Eng|Chn\n");
    dir.write("usr/share/qv300/Chinese.Ini", "[Language]\nReadOk=done\n");
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    DataModuleCreate(Prefix() + "/bin/");
    ::unsetenv("XDG_CONFIG_HOME");

    EXPECT_EQ(ALL.AppPath, shared);
    EXPECT_EQ(ALL.ComPort, "COM2");
    EXPECT_EQ(ALL.LanguageName, "Chinese");
    EXPECT_EQ(Language.ReadOk, "done");
    std::vector<std::string> display, files;
    ReadLanguageList(display, files);
    EXPECT_EQ(display, (std::vector<std::string>{"Eng", "Chn"}));

    // The first exit creates the user's folder; the shared file stays as it was.
    const std::string before = ReadAll(shared + "SysInfo.Ini");
    ALL.ComPort = "COM5";
    ALL.LanguageId = 0;
    ASSERT_TRUE(SaveSysInfo());
    EXPECT_EQ(ReadAll(shared + "SysInfo.Ini"), before);
    EXPECT_EQ(ReadAll(config + "/qv300/SysInfo.Ini"), "[SysInfo]\nCom=COM5\nLanguage_ID=0\n");

    // The user's values win over the shared ones at the next start.
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    DataModuleCreate(Prefix() + "/bin/");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(ALL.ComPort, "COM5");
    EXPECT_EQ(ALL.LanguageName, "English");
}

} // namespace
