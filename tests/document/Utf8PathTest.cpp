// SPDX-License-Identifier: GPL-3.0-or-later
// A user folder with a Chinese name (C:\Users\张伟\ on Windows): every file
// the program reads, writes or lists there is the one the name means.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "base/IniFile.h"
#include "base/Utf8Path.h"
#include "core/State.h"
#include "document/Backups.h"
#include "document/DocumentFiles.h"
#include "document/FleetLog.h"
#include "document/RadioContents.h"

namespace fs = std::filesystem;

TEST(Utf8Path, FilesInAFolderWithAChineseNameAreWrittenReadAndListedUnderThatName)
{
    TempDir dir;
    const fs::path wide = dir.path() / fs::path(u8"张伟");
    const std::string folder = Utf8FromPath(wide);
    EXPECT_TRUE(folder.ends_with("\xE5\xBC\xA0\xE4\xBC\x9F")) << folder; // 张伟 in UTF-8
    EXPECT_EQ(PathFromUtf8(folder), wide);
    ASSERT_TRUE(fs::create_directory(wide));

    // Settings: saved through the one writer, read back, found by the system.
    TIniFile ini(folder + "/SysInfo.Ini");
    ASSERT_TRUE(ini.WriteString("SysInfo", "Com", "COM5"));
    EXPECT_TRUE(fs::is_regular_file(wide / "SysInfo.Ini"));
    EXPECT_EQ(TIniFile(folder + "/SysInfo.Ini").ReadString("SysInfo", "Com", ""), "COM5");

    // A backup made there is listed and opens.
    StartFresh(Utf8FromPath(dir.path()));
    StartFirstDocument();
    std::string error;
    const std::string backup = SaveBackup(DocumentContents(), folder + "/Backups", 1700000000, &error);
    ASSERT_FALSE(backup.empty()) << error;
    EXPECT_TRUE(fs::is_regular_file(PathFromUtf8(backup)));
    const std::vector<BackupEntry> list = ListBackups(folder + "/Backups");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].path, backup);
    int err = 0;
    EXPECT_EQ(ReadFileBounded(backup, 1000, true, err).value_or("").size(), 464u) << err;

    // The fleet log is created there, folder and all.
    TFleetLog log;
    std::string why;
    ASSERT_TRUE(log.Open(folder + "/Logs/fleet.csv", why)) << why;
    EXPECT_TRUE(fs::is_regular_file(wide / "Logs" / "fleet.csv"));
}
