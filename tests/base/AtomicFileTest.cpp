// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "TestSupport.h"
#include "base/AtomicFile.h"

namespace fs = std::filesystem;

// The data file's tests cover kept permissions, a refused folder and a write
// that fails half-way; these are the links the writer follows.
TEST(AtomicFile, FollowsRelativeLinksToTheFileAtTheEnd)
{
    TempDir dir;
    fs::create_directory(dir.file("sub"));
    std::string real = dir.write("sub/real.ini", "old");
    fs::create_symlink("sub/real.ini", dir.file("first.ini"));
    fs::create_symlink("first.ini", dir.file("second.ini"));
    ASSERT_FALSE(ReplaceFileAtomically(dir.file("second.ini"), std::string_view("new")));
    EXPECT_EQ(ReadAll(real), "new");
    EXPECT_TRUE(fs::is_symlink(dir.file("second.ini")));
    EXPECT_TRUE(fs::is_symlink(dir.file("first.ini")));

    // A link to a file not made yet makes that file, and the link stays.
    fs::create_symlink("sub/later.ini", dir.file("later.ini"));
    ASSERT_FALSE(ReplaceFileAtomically(dir.file("later.ini"), std::string_view("made")));
    EXPECT_EQ(ReadAll(dir.file("sub/later.ini")), "made");
    EXPECT_TRUE(fs::is_symlink(dir.file("later.ini")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("sub")), fs::directory_iterator()), 2);
}

TEST(AtomicFile, ANewFileGetsThePermissionsOfAPlainCreate)
{
    TempDir dir;
    std::string plain = dir.write("plain.ini", "x");
    ASSERT_FALSE(ReplaceFileAtomically(dir.file("new.ini"), std::string_view("y")));
    EXPECT_EQ(fs::status(dir.file("new.ini")).permissions(), fs::status(plain).permissions());
}

TEST(AtomicFile, LeavesAFifoInItsPlace)
{
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);
    EXPECT_TRUE(ReplaceFileAtomically(dir.file("pipe"), std::string_view("x")));
    EXPECT_TRUE(fs::is_fifo(dir.file("pipe")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}
