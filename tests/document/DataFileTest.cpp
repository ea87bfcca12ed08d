// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <random>
#include <sys/resource.h>

#include "TestSupport.h"
#include "core/State.h"
#include "document/DocumentFiles.h"
#include "document/DocumentView.h"
#include "image/formats/DataFile.h"
#include "image/Image.h"

namespace fs = std::filesystem;

namespace {
struct CountingView : TDocumentView {
    int trees = 0, statuses = 0, refreshes = 0;
    void BuildTree() override { ++trees; }
    void UpdateStatus() override { ++statuses; }
    void RefreshEditors() override { ++refreshes; }
};

std::string Bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}
}

class DataFile : public ::testing::Test {
protected:
    TempDir dir;
    MessageRecorder messages;
    void SetUp() override
    {
        StartFresh(dir.path().string());
        StartFirstDocument();
    }
    std::string SaveNew(const std::string& name)
    {
        std::string path = dir.file(name);
        EXPECT_TRUE(SaveDocumentFile(path));
        return path;
    }
};

TEST(FileHeader, PadsCodesWithBlanksAndDecodesThemAsStored)
{
    FileHeader h = EncodeFileHeader("QV30", "QV30", "");
    EXPECT_EQ(std::string(h.begin(), h.end()), Bytes({0x50}) + "QV30QV30    " + Bytes({0xFF, 0xFF, 0xFF}));
    h = EncodeFileHeader("AB", "QV30LONGER", "0592");
    EXPECT_EQ(std::string(h.begin() + 1, h.begin() + 13), "AB  QV300592");
    FileHeaderTexts t = DecodeFileHeader(h);
    EXPECT_EQ(t.ModelCode, "AB  ");
    EXPECT_EQ(t.FamilyCode, "QV30");
    EXPECT_EQ(t.AreaCode, "0592");
}

TEST_F(DataFile, NewDocumentSavesTo464BytesWithTheRightHeaderAndBlocks)
{
    ALL.Modified = true;
    std::string path = SaveNew("new.dat");
    std::string file = ReadAll(path);
    ASSERT_EQ(file.size(), 464u);
    EXPECT_EQ(file.substr(0, 16), Bytes({0x50}) + "QV30QV30    " + Bytes({0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(file.substr(0x178, 8), std::string(8, '\xFF'));
    EXPECT_EQ(file.substr(0x1C0, 16), std::string(16, '\0'));
    EXPECT_EQ(file.substr(0x10, 0x1C0 - 0x10), std::string(ALL.Image.begin() + 0x10, ALL.Image.begin() + 0x1C0));
    EXPECT_FALSE(ALL.Modified);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DataFile, SaveClearsTheBytesAfterTheModelBlockInTheImageToo)
{
    ALL.Image[0x179] = 0x12;
    SaveNew("a.dat");
    EXPECT_EQ(ALL.Image[0x179], 0xFF);
}

TEST_F(DataFile, SaveOpenSaveGivesIdenticalFiles)
{
    ALL.Image[0x010] = 0x00; // a channel, an area and odd bytes in the stored stretch
    ALL.Image[0x1C3] = 0x77;
    ALL.Image[0x1A0] = 'S';
    ALL.AreaCode = "0592";
    std::string first = SaveNew("first.dat");
    StartFresh(dir.path().string());
    StartFirstDocument();
    std::string name = first;
    ASSERT_EQ(OpenDocumentFile(name), ReadResult::Ok);
    EXPECT_EQ(ALL.AreaCode, "0592");
    std::string second = SaveNew("second.dat");
    EXPECT_EQ(ReadAll(first), ReadAll(second));
}

TEST_F(DataFile, OpenReplacesOnlyTheStoredStretchAndTellsTheWindow)
{
    CountingView view;
    SetDocumentView(&view);
    ALL.Image[0x1B5] = 0x42;
    std::string path = SaveNew("doc.dat");
    ALL.Image[0x005] = 0x11; // block 0: not in the file
    ALL.Image[0x1B5] = 0x00;
    ALL.Image[0x200] = 0x22; // reserved: not in the file
    ALL.CurrentChannel = 9;
    ALL.Modified = true;
    std::string name = path;
    ASSERT_EQ(OpenDocumentFile(name), ReadResult::Ok);
    SetDocumentView(nullptr);
    EXPECT_EQ(name, path);
    EXPECT_EQ(ALL.Image[0x005], 0x11);
    EXPECT_EQ(ALL.Image[0x1B5], 0x42);
    EXPECT_EQ(ALL.Image[0x200], 0x22);
    EXPECT_EQ(ALL.CurrentChannel, 1);
    EXPECT_FALSE(ALL.Modified);
    EXPECT_EQ(view.trees, 1);
    EXPECT_EQ(view.statuses, 1);
    EXPECT_EQ(view.refreshes, 1);
}

TEST_F(DataFile, AcceptsAnyFileWhoseModelCodeIsKnown)
{
    std::string good = ReadAll(SaveNew("good.dat"));
    std::string odd = good;
    odd[0] = 'X';
    odd.replace(5, 4, "ZZZZ");
    odd[0x175] = static_cast<char>(0x07); // no band has this code
    odd.replace(9, 4, "    ");
    std::string name = dir.write("odd.dat", odd);
    ASSERT_EQ(OpenDocumentFile(name), ReadResult::Ok);
    EXPECT_EQ(ALL.BandText, "400 - 520MHz");
    EXPECT_EQ(ALL.Image[0x175], 0xF3);
    EXPECT_EQ(ALL.AreaCode, "    ");
    // A New keeps the area code, so the next save carries it again.
    NewImage();
    std::string again = ReadAll(SaveNew("again.dat"));
    EXPECT_EQ(again.substr(9, 4), "    ");
}

TEST_F(DataFile, OpensWithTheBandStoredInTheFile)
{
    std::string good = ReadAll(SaveNew("good.dat"));
    good[0x175] = static_cast<char>(0xF1);
    std::string name = dir.write("band.dat", good);
    ASSERT_EQ(OpenDocumentFile(name), ReadResult::Ok);
    EXPECT_EQ(ALL.BandText, "200 - 260MHz");
    EXPECT_EQ(ALL.BandLow, 200);
    EXPECT_EQ(ALL.BandHigh, 260);
}

TEST_F(DataFile, RefusesUnknownModelsAndUnreadableFilesLeavingTheDocumentAlone)
{
    auto before = ALL.Image;
    ALL.Modified = true;
    std::string good = ReadAll(SaveNew("good.dat"));
    ALL.Modified = true;
    before = ALL.Image;

    struct Case {
        const char* name;
        std::string bytes;
    };
    std::string wrongModel = good;
    wrongModel.replace(1, 4, "QV31");
    std::string lower = good;
    lower.replace(1, 4, "qv30");
    std::vector<Case> cases = {
        {"empty.dat", ""},
        {"short.dat", good.substr(0, 9)},
        {"header15.dat", good.substr(0, 15)},
        {"wrong.dat", wrongModel},
        {"lower.dat", lower},
    };
    for (const auto& c : cases) {
        messages.shown.clear();
        std::string name = dir.write(c.name, c.bytes);
        EXPECT_EQ(OpenDocumentFile(name), ReadResult::WrongModel) << c.name;
        EXPECT_EQ(name, "") << c.name;
        ASSERT_EQ(messages.texts(), std::vector<std::string>{"Model Type Wrong."}) << c.name;
        EXPECT_EQ(messages.shown[0].kind, kMsgInformation);
        EXPECT_EQ(messages.shown[0].caption, "Confirmation");
        EXPECT_TRUE(ALL.Image == before) << c.name;
        EXPECT_TRUE(ALL.Modified) << c.name;
    }

    for (std::string name : {dir.file("missing.dat"), dir.path().string()}) {
        messages.shown.clear();
        std::string path = name;
        EXPECT_EQ(OpenDocumentFile(name), ReadResult::CannotOpen);
        EXPECT_EQ(name, "");
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_NE(messages.shown[0].text.find(path), std::string::npos);
        EXPECT_TRUE(ALL.Image == before);
    }

    // A device that never ends is read no further than a data file holds.
    messages.shown.clear();
    std::string zero = "/dev/zero";
    EXPECT_EQ(OpenDocumentFile(zero), ReadResult::WrongModel);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Model Type Wrong."});
}

TEST_F(DataFile, ShortAndLongFilesFillOnlyAsFarAsTheyGo)
{
    std::string good = ReadAll(SaveNew("good.dat"));
    ALL.Image[0x100] = 0x5A;                           // channel 16, beyond the short file's data
    std::string shortFile = good.substr(0, 16 + 0x20); // header and blocks 1-2
    shortFile[0x10] = 0x01;
    std::string name = dir.write("short.dat", shortFile);
    ASSERT_EQ(OpenDocumentFile(name), ReadResult::Ok);
    EXPECT_EQ(ALL.Image[0x010], 0x01);
    EXPECT_EQ(ALL.Image[0x100], 0x5A);

    std::string longFile = good + std::string(5000, '\x33');
    name = dir.write("long.dat", longFile);
    ASSERT_EQ(OpenDocumentFile(name), ReadResult::Ok);
    EXPECT_EQ(ALL.Image[0x1D0], 0x00); // nothing past the stored stretch
    EXPECT_EQ(ALL.Image[0x100], static_cast<uint8_t>(good[0x100]));
}

TEST_F(DataFile, RandomBytesNeverReachPastTheImage)
{
    std::mt19937 gen(1234);
    std::string header = Bytes({0x50}) + "QV30";
    for (int round = 0; round < 200; ++round) {
        size_t size = gen() % 1200;
        std::string bytes(size, '\0');
        for (auto& c : bytes)
            c = static_cast<char>(gen());
        if (round % 2 && size >= 5)
            bytes.replace(0, 5, header); // half of them pass the model check
        std::string name = dir.write("random.dat", bytes);
        ReadResult r = OpenDocumentFile(name);
        if (r == ReadResult::Ok) {
            EXPECT_GE(size, 16u);
            EXPECT_GE(ALL.Image[0x175], 0xF0);
            EXPECT_LE(ALL.Image[0x175], 0xF3);
        }
    }
}

TEST_F(DataFile, ReplacesAnExistingFileAndKeepsItsPermissions)
{
    std::string path = dir.write("old.dat", "previous contents");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(SaveDocumentFile(path));
    EXPECT_EQ(ReadAll(path).size(), 464u);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // No temporary file is left beside it.
    int files = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(DataFile, SavingThroughALinkReplacesTheFileItPointsTo)
{
    std::string real = dir.write("real.dat", "x");
    fs::create_symlink(real, dir.file("link.dat"));
    ASSERT_TRUE(SaveDocumentFile(dir.file("link.dat")));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.dat")));
    EXPECT_EQ(ReadAll(real).size(), 464u);
}

TEST_F(DataFile, AFailedSaveReportsAndLeavesTheDocumentAsItWas)
{
    ALL.Modified = true;
    ALL.Image[0x179] = 0x12; // read from the radio; a save puts FF there
    const auto before = ALL.Image;
    std::string target = dir.file("no/such/folder/doc.dat");
    EXPECT_FALSE(SaveDocumentFile(target));
    EXPECT_TRUE(ALL.Modified);
    EXPECT_TRUE(ALL.Image == before) << "the next write to the radio would send what the failed save changed";
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(target), std::string::npos);
    EXPECT_NE(messages.shown[0].text.find("No such file or directory"), std::string::npos);

    messages.shown.clear();
    EXPECT_FALSE(SaveDocumentFile(dir.path().string()));
    EXPECT_EQ(messages.shown.size(), 1u);
}

// A disk that fills up half-way through a save must leave the previous file
// as it was. The file size limit makes the write fail after 100 bytes, in a
// child process so the limit does not reach the other tests.
TEST_F(DataFile, ASaveThatFailsHalfWayLeavesThePreviousFileUntouched)
{
    std::string target = dir.write("precious.dat", std::string(464, '\x5A'));
    auto saveWithSmallDisk = [&] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        ALL.Modified = true;
        bool saved = SaveDocumentFile(target);
        std::_Exit(!saved && ALL.Modified && messages.shown.size() == 1 ? 3 : 4);
    };
    EXPECT_EXIT(saveWithSmallDisk(), ::testing::ExitedWithCode(3), "");
    EXPECT_EQ(ReadAll(target), std::string(464, '\x5A'));
    int files = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1) << "the temporary file was left behind";
}
