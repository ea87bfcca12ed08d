// SPDX-License-Identifier: GPL-3.0-or-later
#include <filesystem>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/State.h"
#include "document/Documents.h"

namespace {
struct ScriptedChooser : TFileChooser {
    std::optional<std::string> open, save;
    int opens = 0, saves = 0;
    std::optional<std::string> ChooseOpen() override
    {
        ++opens;
        return open;
    }
    std::optional<std::string> ChooseSave() override
    {
        ++saves;
        return save;
    }
};
}

class Documents : public ::testing::Test {
protected:
    TempDir dir;
    MessageRecorder messages{kMsgYes};
    ScriptedChooser chooser;
    std::string fileName;
    void SetUp() override
    {
        StartFresh(dir.path().string());
        StartFirstDocument();
    }
    void Edit()
    {
        ALL.Image[0x010] = 0x00; // channel 1 now exists
        ALL.Modified = true;
    }
};

TEST_F(Documents, SaveAsksForANameOnceAndThenSavesToIt)
{
    chooser.save = dir.file("doc.dat");
    Edit();
    EXPECT_TRUE(SaveDocument(fileName, chooser));
    EXPECT_EQ(fileName, dir.file("doc.dat"));
    EXPECT_FALSE(ALL.Modified);
    Edit();
    EXPECT_TRUE(SaveDocument(fileName, chooser));
    EXPECT_EQ(chooser.saves, 1);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Documents, ExistingFileIsReplacedOnlyWhenTheUserSaysYes)
{
    std::string path = dir.write("old.dat", "old");
    chooser.save = path;
    messages.answers = {kMsgNo};
    Edit();
    EXPECT_FALSE(SaveDocument(fileName, chooser));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"The File is Exists,Replace it?"});
    EXPECT_EQ(fileName, "");
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_TRUE(ALL.Modified);

    messages.answers = {kMsgYes};
    EXPECT_TRUE(SaveDocument(fileName, chooser));
    EXPECT_EQ(ReadAll(path).size(), 464u);
    EXPECT_EQ(fileName, path);
}

TEST_F(Documents, NewAndOpenStopWhenTheOfferedSaveDidNotHappen)
{
    Edit();
    auto edited = ALL.Image;
    chooser.save = std::nullopt; // the save dialog is cancelled
    chooser.open = dir.file("other.dat");
    EXPECT_FALSE(NewDocument(fileName, chooser));
    EXPECT_TRUE(ALL.Image == edited);
    EXPECT_TRUE(ALL.Modified);
    EXPECT_FALSE(OpenDocument(fileName, chooser));
    EXPECT_EQ(chooser.opens, 0);
    EXPECT_TRUE(ALL.Image == edited);

    chooser.save = dir.file("no/such/folder/x.dat"); // a file that cannot be written
    EXPECT_FALSE(NewDocument(fileName, chooser));
    EXPECT_TRUE(ALL.Image == edited);
    EXPECT_TRUE(ALL.Modified);
}

TEST_F(Documents, NewAfterSavingOrDecliningReplacesTheDocument)
{
    Edit();
    chooser.save = dir.file("kept.dat");
    EXPECT_TRUE(NewDocument(fileName, chooser));
    EXPECT_EQ(ALL.Image[0x010], 0xFF);
    EXPECT_EQ(fileName, "");
    EXPECT_FALSE(ALL.Modified);
    EXPECT_EQ(ReadAll(dir.file("kept.dat")).size(), 464u);

    Edit();
    messages.answers = {kMsgNo};
    EXPECT_TRUE(NewDocument(fileName, chooser));
    EXPECT_EQ(ALL.Image[0x010], 0xFF);
}

TEST_F(Documents, OpenReadsTheChosenFileAndForgetsARefusedOne)
{
    chooser.save = dir.file("a.dat");
    Edit();
    ASSERT_TRUE(SaveDocument(fileName, chooser));
    StartFirstDocument();
    fileName.clear();
    chooser.open = dir.file("a.dat");
    EXPECT_TRUE(OpenDocument(fileName, chooser));
    EXPECT_EQ(ALL.Image[0x010], 0x00);
    EXPECT_EQ(fileName, dir.file("a.dat"));

    chooser.open = dir.write("bad.dat", "PXXXX");
    EXPECT_FALSE(OpenDocument(fileName, chooser));
    EXPECT_EQ(fileName, "");
    EXPECT_EQ(messages.texts().back(), "Model Type Wrong.");
}

TEST_F(Documents, ModelChangeAsksClearDataAndIsTakenBackWhenTheSaveFails)
{
    EXPECT_TRUE(ChangeModel("QV-300", "200 - 260MHz", fileName, chooser));
    EXPECT_EQ(ALL.BandText, "200 - 260MHz");
    EXPECT_TRUE(messages.shown.empty()); // unmodified: no question at all

    Edit();
    messages.answers = {kMsgNo};
    EXPECT_FALSE(ChangeModel("QV-300", "134 - 174MHz", fileName, chooser));
    EXPECT_EQ(ALL.BandText, "200 - 260MHz");

    messages.answers = {kMsgYes, kMsgYes}; // clear data, save changes; then the dialog is cancelled
    chooser.save = std::nullopt;
    EXPECT_FALSE(ChangeModel("QV-300", "134 - 174MHz", fileName, chooser));
    EXPECT_EQ(ALL.BandText, "200 - 260MHz");
    EXPECT_EQ(ALL.BandLow, 200);
    EXPECT_TRUE(ALL.Modified);
    EXPECT_EQ(ALL.Image[0x010], 0x00);
}

TEST_F(Documents, CloseAsksExitThenSaveAndStaysOpenWhenTheSaveFails)
{
    messages.answers = {kMsgNo};
    Edit();
    EXPECT_FALSE(ConfirmClose(fileName, chooser));
    EXPECT_EQ(messages.shown.size(), 1u);

    messages.shown.clear();
    messages.answers = {kMsgYes, kMsgYes};
    chooser.save = std::nullopt;
    EXPECT_FALSE(ConfirmClose(fileName, chooser));
    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{"Do you wish to exit program?", "Do you wish to save the changes?"}));

    messages.answers = {kMsgYes, kMsgNo};
    EXPECT_TRUE(ConfirmClose(fileName, chooser));

    messages.shown.clear();
    ALL.Modified = false;
    messages.answers = {kMsgYes};
    EXPECT_TRUE(ConfirmClose(fileName, chooser));
    EXPECT_EQ(messages.shown.size(), 1u);
}

// A cancelled "save the changes?" stops the command that asked, with nothing
// saved and nothing thrown away; a cancelled exit or clear question is No.
TEST_F(Documents, ACancelledSaveQuestionStopsTheCommand)
{
    Edit();
    const auto edited = ALL.Image;
    fileName = dir.file("kept.dat");
    chooser.open = dir.file("other.dat");
    messages.answers = {kMsgCancel, kMsgCancel, kMsgYes, kMsgCancel};
    EXPECT_FALSE(NewDocument(fileName, chooser));
    EXPECT_FALSE(OpenDocument(fileName, chooser));
    EXPECT_FALSE(ConfirmClose(fileName, chooser));
    EXPECT_EQ(chooser.opens, 0);
    EXPECT_EQ(chooser.saves, 0);
    EXPECT_EQ(fileName, dir.file("kept.dat"));
    EXPECT_FALSE(std::filesystem::exists(fileName));
    EXPECT_TRUE(ALL.Image == edited);
    EXPECT_TRUE(ALL.Modified);

    messages.shown.clear();
    messages.answers = {kMsgCancel, kMsgCancel};
    EXPECT_FALSE(ConfirmClose(fileName, chooser));
    EXPECT_FALSE(ChangeModel(ALL.ModelName, ALL.BandText, fileName, chooser));
    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{"Do you wish to exit program?", "Do you wish to Clear Data?"}));
}
