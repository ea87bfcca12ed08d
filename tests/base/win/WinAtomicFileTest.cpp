// SPDX-License-Identifier: GPL-3.0-or-later
// The atomic writer on Windows: a user folder with a Chinese name, a file a
// virus scanner holds for a moment, and names already taken.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "base/AtomicFile.h"
#include "base/Utf8Path.h"
#include "base/win/WideText.h"

namespace fs = std::filesystem;

namespace {

class WinAtomicFile : public ::testing::Test {
protected:
    fs::path folder = fs::temp_directory_path() / fs::path(u8"张伟") / std::to_string(GetCurrentProcessId());
    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    std::string File(const std::string& name) const { return Utf8FromPath(folder / name); }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(PathFromUtf8(path), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    size_t EntryCount() const { return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {})); }
};

TEST_F(WinAtomicFile, ReplacesAndCreatesFilesInAFolderWithAChineseName)
{
    const std::string path = File("SysInfo.Ini");
    ASSERT_FALSE(ReplaceFileAtomically(path, "first")) << path;
    ASSERT_FALSE(ReplaceFileAtomically(path, "second"));
    EXPECT_EQ(Read(path), "second");
    EXPECT_EQ(EntryCount(), 1u); // no temporary file left beside it

    // A folder is refused and stays a folder; nothing is left behind.
    fs::create_directory(folder / "Backups");
    EXPECT_EQ(ReplaceFileAtomically(File("Backups"), "x"), std::errc::is_a_directory);
    EXPECT_TRUE(fs::is_directory(folder / "Backups"));
    EXPECT_EQ(ReplaceFileAtomically("NUL", "x"), std::errc::operation_not_supported);
    EXPECT_EQ(EntryCount(), 2u);
}

TEST_F(WinAtomicFile, WaitsForAFileHeldForAMomentAndGivesUpOnOneHeldForGood)
{
    const std::string path = File("radio.dat");
    ASSERT_FALSE(ReplaceFileAtomically(path, "old"));
    // Open without FILE_SHARE_DELETE, as a virus scanner opens a new file.
    auto hold = [&] {
        return CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    };
    HANDLE held = hold();
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread release([held] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        CloseHandle(held);
    });
    const std::error_code ec = ReplaceFileAtomically(path, "new");
    release.join();
    EXPECT_FALSE(ec) << ec.message();
    EXPECT_EQ(Read(path), "new");

    held = hold();
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(ReplaceFileAtomically(path, "lost"));
    CloseHandle(held);
    EXPECT_EQ(Read(path), "new");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(WinAtomicFile, CreatesOnlyWhileTheNameIsFree)
{
    const std::string path = File("AB12-20270115-101500.dat");
    ASSERT_FALSE(CreateFileExclusively(path, "mine"));
    EXPECT_EQ(CreateFileExclusively(path, "theirs"), std::errc::file_exists);
    EXPECT_EQ(Read(path), "mine");
    fs::create_directory(folder / "taken");
    EXPECT_EQ(CreateFileExclusively(File("taken"), "x"), std::errc::file_exists);
    EXPECT_EQ(EntryCount(), 2u);
}

} // namespace
