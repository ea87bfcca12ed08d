// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/Startup.h"
#include "app/ui/MainFrm.h"
#include "app/ui/ModelDlg.h"
#include "core/State.h"
#include "ui/GuiTestSupport.h"

class ModelDialog : public ::testing::Test {
protected:
    TempDir dir;
    MessageRecorder messages{kMsgNo};
    void SetUp() override
    {
        StartFresh(dir.path().string());
        StartFirstDocument();
    }
};

TEST_F(ModelDialog, ShowsTheCurrentModelAndBandAndOkAccepts)
{
    SelectModel("QV30", 0xF1, true);
    TfModel dialog;
    EXPECT_EQ(dialog.windowTitle(), "Model Information");
    EXPECT_EQ(dialog.cbCopmut->currentText(), "QV-300");
    EXPECT_EQ(dialog.cbPd->count(), 4);
    EXPECT_EQ(dialog.cbPd->currentText(), "200 - 260MHz");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    dialog.cbCopmutChange(); // picking the model again offers its default band
    EXPECT_EQ(dialog.cbPd->currentText(), "400 - 520MHz");
    QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(ModelDialog, AcceptedWithoutChangesStartsANewDocumentOfTheChosenBand)
{
    TfMainFrm window;
    window.show();
    TfModel dialog;
    dialog.cbPd->setCurrentIndex(0);
    EXPECT_TRUE(window.ApplyModelChoice(dialog.Choice()));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(ALL.BandText, "134 - 174MHz");
    EXPECT_EQ(ALL.Image[0x175], 0xF0);
    EXPECT_EQ(window.MainBar[5]->text(), "134 - 174MHz");

    // With changes, "Do you wish to Clear Data?" answered No keeps everything.
    ALL.Modified = true;
    ALL.Image[0x010] = 0x00;
    dialog.cbPd->setCurrentIndex(3);
    EXPECT_FALSE(window.ApplyModelChoice(dialog.Choice()));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Do you wish to Clear Data?"});
    EXPECT_EQ(ALL.BandText, "134 - 174MHz");
    EXPECT_EQ(ALL.Image[0x010], 0x00);
}

TEST_F(ModelDialog, ModelInformationCommandTakesTheBandOnOkOnly)
{
    TfMainFrm window;
    window.show();
    OnNextDialog<TfModel>([](TfModel* dialog) {
        dialog->cbPd->setCurrentIndex(0);
        dialog->btnOk->click();
    });
    window.RunCommand(Command::ModelInformation);
    EXPECT_EQ(ALL.BandText, "134 - 174MHz");
    EXPECT_EQ(window.MainBar[5]->text(), "134 - 174MHz");

    OnNextDialog<TfModel>([](TfModel* dialog) {
        dialog->cbPd->setCurrentIndex(3);
        dialog->btnCancel->click();
    });
    window.RunCommand(Command::ModelInformation);
    EXPECT_EQ(ALL.BandText, "134 - 174MHz");
    EXPECT_TRUE(messages.shown.empty());
}
