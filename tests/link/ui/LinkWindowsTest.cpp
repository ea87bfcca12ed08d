// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/ui/BackupsDlg.h"
#include "app/ui/MainFrm.h"
#include "core/State.h"
#include "editors/ui/ChsInfo.h"
#include "image/ChannelCodec.h"
#include "link/FakeLink.h"
#include "link/PortNames.h"
#include "link/ui/ReadRadio.h"
#include "link/ui/SetPort.h"
#include "link/ui/WriteRadio.h"
#include "settings/SysInfo.h"

namespace {

// Every link window of a test runs on a scripted port and clock with a
// radio behind it.
class LinkWindows : public ::testing::Test {
protected:
    TempDir dir;
    MessageRecorder messages{kMsgNo};
    ListedPorts machine;
    FakeClock* clock = nullptr;
    FakePort* port = nullptr;
    std::unique_ptr<FakeRadio> radio;
    std::function<void(FakeRadio&)> prepareRadio;

    void SetUp() override
    {
        ClearRunMappings();
        StartFresh(dir.path().string());
        SetPortSystem(&machine);
        SetLinkPartsFactory([this] {
            auto c = std::make_unique<FakeClock>();
            auto p = std::make_unique<FakePort>(*c);
            clock = c.get();
            port = p.get();
            radio = std::make_unique<FakeRadio>(*p);
            if (prepareRadio)
                prepareRadio(*radio);
            return LinkParts{std::move(p), std::move(c)};
        });
    }
    void TearDown() override
    {
        SetLinkPartsFactory(nullptr);
        SetPortSystem(nullptr);
        ClearRunMappings();
    }
    // Plays the exchange until the window has closed itself.
    bool RunUntilHidden(QDialog& window)
    {
        return clock->Run([&] { return !window.isVisible(); });
    }
};

} // namespace

TEST_F(LinkWindows, ReadWindowReadsShowsProgressLogsAndCloses)
{
    StartFirstDocument();
    TfReadRadio window;
    window.show();
    EXPECT_EQ(window.windowTitle(), "Read data From radio");
    EXPECT_EQ(window.pBar->maximum(), 27);
    EXPECT_TRUE(port->open);
    EXPECT_FALSE(window.mr->isVisible());
    radio->memory[0x175] = 0xF0;
    QTest::mouseClick(window.btnOk, Qt::LeftButton);
    EXPECT_FALSE(window.btnOk->isEnabled());
    ASSERT_TRUE(RunUntilHidden(window));
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_TRUE(window.ReadSucceeded());
    EXPECT_EQ(window.pBar->value(), 27);
    EXPECT_FALSE(port->open);
    EXPECT_EQ(ALL.BandText, "134 - 174MHz");
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Reading Completed."});
    QStringList log = window.mr->toPlainText().split('\n');
    EXPECT_EQ(log.first(), "Tx-  50 52 4F 47 52 41 4D 61");
    EXPECT_EQ(log.last(), "Tx-  45");
}

TEST_F(LinkWindows, CancelClosesThePortAndKeepsTheDocument)
{
    StartFirstDocument();
    const auto before = ALL.Image;
    TfReadRadio window;
    window.show();
    QTest::mouseClick(window.btnOk, Qt::LeftButton);
    clock->Run([&] { return port->sent.size() >= 30; });
    QTest::mouseClick(window.btnCancel, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(port->open);
    EXPECT_FALSE(window.ReadSucceeded());
    EXPECT_TRUE(ALL.Image == before);
    EXPECT_FALSE(ALL.Modified);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LinkWindows, WriteWindowStaysOpenForTheNextRadio)
{
    StartFirstDocument();
    TfWriteRadio window;
    window.show();
    EXPECT_EQ(window.windowTitle(), "Write data to radio");
    EXPECT_EQ(window.pBar->maximum(), 27 + 24 + 27);
    // The plain write, without the backup and the verify around it.
    window.cbBackup->setChecked(false);
    window.cbVerify->setChecked(false);
    EXPECT_EQ(window.pBar->maximum(), 24);
    QTest::mouseClick(window.btnOk, Qt::LeftButton);
    EXPECT_FALSE(window.btnOk->isEnabled());
    ASSERT_TRUE(clock->Run([&] { return !messages.shown.empty(); }));
    EXPECT_TRUE(window.btnOk->isEnabled());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.pBar->value(), 0);
    EXPECT_EQ(radio->writesReceived, 25);

    // A line error in the next write: the message at once, the window stays.
    QTest::mouseClick(window.btnOk, Qt::LeftButton);
    clock->Run([&] { return port->sent.size() >= 45; });
    port->LineErrorAt(clock->now);
    clock->Run([] { return false; }, 20000);
    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{"Writing Completed.",
                                        "Please check all connections and communication port settings."}));
    EXPECT_TRUE(window.isVisible());
    // Ok is there for another try once the cable is back.
    EXPECT_TRUE(window.btnOk->isEnabled());
    EXPECT_NE(ReadAll(dir.file("SysInfo.Ini")).find("[WriteRadio]"), std::string::npos);
}

TEST_F(LinkWindows, PortThatDoesNotOpenClosesTheWindow)
{
    StartFirstDocument();
    prepareRadio = [this](FakeRadio&) { port->openFails = true; };
    TfWriteRadio window;
    window.show();
    ASSERT_TRUE(RunUntilHidden(window));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Cannot Open Communication Port."});
}

TEST_F(LinkWindows, APortAnotherProgramHoldsIsReportedAsInUseByTheReadAndTheWriteWindow)
{
    StartFirstDocument();
    prepareRadio = [this](FakeRadio&) { port->openFails = port->openInUse = true; };
    TfReadRadio read;
    read.show();
    ASSERT_TRUE(RunUntilHidden(read));
    TfWriteRadio write;
    write.show();
    ASSERT_TRUE(RunUntilHidden(write));
    const std::string inUse = "Cannot Open Communication Port: another program is using it.";
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{inUse, inUse}));
}

TEST_F(LinkWindows, PortDialogOffersTheAvailablePortsWithTheirDevices)
{
    dir.write("SysInfo.Ini", "[Ports]\nCOM7=/dev/pts/5\nCOM25=/dev/pts/6\n");
    machine.devices = {"/dev/ttyUSB0", "/dev/ttyACM0", "/dev/pts/5", "/dev/pts/6"};
    ALL.ComPort = "COM7";
    TfSetPort dialog;
    EXPECT_EQ(dialog.cxPort->title(), "Communication Port");
    std::vector<int> enabled;
    for (int n = 1; n <= 20; ++n)
        if (dialog.cxPorts[n - 1]->isEnabled())
            enabled.push_back(n);
    EXPECT_EQ(enabled, (std::vector<int>{1, 2, 7}));
    EXPECT_EQ(dialog.cxPorts[0]->toolTip(), "/dev/ttyUSB0");
    EXPECT_EQ(dialog.cxPorts[1]->toolTip(), "/dev/ttyACM0");
    EXPECT_EQ(dialog.cxPorts[6]->text(), "COM7");
    EXPECT_TRUE(dialog.cxPorts[6]->isChecked());
    EXPECT_EQ(dialog.cbCom->count(), 4);

    dialog.cxPorts[1]->setChecked(true);
    QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
    EXPECT_EQ(ALL.ComPort, "COM7");
    QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
    EXPECT_EQ(ALL.ComPort, "COM2");

    // A current port above 20 selects nothing, and Ok keeps it.
    ALL.ComPort = "COM25";
    TfSetPort high;
    for (QRadioButton* b : high.cxPorts)
        EXPECT_FALSE(b->isChecked());
    QTest::mouseClick(high.btnOk, Qt::LeftButton);
    EXPECT_EQ(ALL.ComPort, "COM25");
}

TEST_F(LinkWindows, PortDialogChoosesAPortAboveItsButtonsFromTheListAndSavesIt)
{
    StartFresh(dir.path().string());
    dir.write("SysInfo.Ini", "[Ports]\nCOM3=/dev/pts/3\nCOM23=/dev/pts/23\nCOM30=/dev/pts/30\n");
    machine.devices = {"/dev/pts/3", "/dev/pts/23", "/dev/pts/30"};
    ALL.ComPort = "COM3";
    TfSetPort dialog;
    ASSERT_TRUE(dialog.cxPortMore->isEnabled());
    ASSERT_EQ(dialog.cbMorePorts->count(), 2);
    EXPECT_EQ(dialog.cbMorePorts->itemText(0), "COM23");
    EXPECT_FALSE(dialog.cxPortMore->isChecked());
    // The user picks COM23 in the list: that chooses the list, not COM3.
    dialog.cbMorePorts->setCurrentIndex(1);
    dialog.cbMorePorts->setFocus();
    QTest::keyClick(dialog.cbMorePorts, Qt::Key_Up);
    EXPECT_TRUE(dialog.cxPortMore->isChecked());
    EXPECT_FALSE(dialog.cxPorts[2]->isChecked());
    QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
    EXPECT_EQ(ALL.ComPort, "COM23");
    ASSERT_TRUE(SaveSysInfo());
    EXPECT_NE(ReadAll(dir.file("SysInfo.Ini")).find("Com=COM23"), std::string::npos);

    // Shown again, the dialog has COM23 selected in the list.
    TfSetPort again;
    EXPECT_TRUE(again.cxPortMore->isChecked());
    EXPECT_EQ(again.cbMorePorts->currentText(), "COM23");
}

TEST_F(LinkWindows, MainWindowChecksThePortAtStartAndRunsTheLinkCommands)
{
    dir.write("SysInfo.Ini", "[SysInfo]\nCom=com9\n");
    StartFresh(dir.path().string());
    machine.devices = {"/dev/ttyUSB0", "/dev/ttyUSB1"};
    TfMainFrm window;
    window.show();
    EXPECT_EQ(ALL.ComPort, "COM1");
    EXPECT_EQ(window.MainBar[3]->text(), "Port: COM1");
    EXPECT_EQ(window.cbCom->count(), 2);

    // Command 20: the read window, then the document is the radio's.
    window.FileName = "/somewhere/old.dat";
    window.ChannelEditor()->gvChsSetForeText(0, 1, "446.0");
    prepareRadio = [](FakeRadio& r) { r.memory[0x175] = 0xF2; };
    QTimer::singleShot(0, [this] {
        auto* dialog = qobject_cast<TfReadRadio*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTest::mouseClick(dialog->btnOk, Qt::LeftButton);
        RunUntilHidden(*dialog);
    });
    window.RunCommand(Command::ReadFromRadio);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Reading Completed."});
    EXPECT_TRUE(window.FileName.empty());
    EXPECT_TRUE(ALL.Modified);
    EXPECT_EQ(window.UndoStack()->count(), 0) << "the radio's document starts a new history";
    EXPECT_FALSE(window.UndoStack()->isClean()) << "no state of it is saved";
    EXPECT_EQ(window.MainBar[5]->text(), "320 - 400MHz");
    EXPECT_EQ(window.windowTitle(), "QV-300");

    // Command 21 backs the radio up, shows the changes, writes and verifies;
    // the window stays until closed.
    messages.shown.clear();
    InitChannel(1, "330.5");
    prepareRadio = [](FakeRadio& r) {
        r.memory[0x175] = 0xF2;
        std::copy_n("SN42", 4, r.memory.begin() + 0x1A0);
    };
    std::vector<std::vector<ContentChange>> previews;
    SetChangePreview([&](QWidget*, const std::vector<ContentChange>& changes) {
        previews.push_back(changes);
        return true;
    });
    std::string results;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TfWriteRadio*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTest::mouseClick(dialog->btnOk, Qt::LeftButton);
        EXPECT_EQ(dialog->lPhase->text(), "Backing up the radio");
        clock->Run([&] { return dialog->btnOk->isEnabled(); });
        results = dialog->mResults->toPlainText().toStdString();
        dialog->close();
    });
    window.RunCommand(Command::WriteToRadio);
    SetChangePreview(nullptr);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Verified"});
    ASSERT_EQ(previews.size(), 1u);
    EXPECT_FALSE(previews[0].empty()); // the scripted radio's memory is all zeros
    EXPECT_EQ(radio->memory[0x175], 0xF2);
    EXPECT_EQ(results.rfind("Radio 1: serial number SN42, Verified, backup SN42-", 0), 0u) << results;

    // File > Backups opens that backup as the document, without its name:
    // Save must not overwrite the file that restores the radio.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TfBackups*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->gvBackups->rowCount(), 1);
        EXPECT_EQ(dialog->gvBackups->item(0, 3)->text(), "320 - 400MHz");
        QTest::mouseClick(dialog->btnOpen, Qt::LeftButton);
    });
    ALL.Modified = false;
    window.RunCommand(Command::Backups);
    EXPECT_EQ(window.FileName, "");
    EXPECT_EQ(window.windowTitle(), "QV-300");
    EXPECT_FALSE(ALL.Modified);
    TChannel first;
    EXPECT_FALSE(DecodeChannel(1, first)); // the radio held no channel 1 before the write

    // Command 31: the port dialog, then the status bar shows the choice.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TfSetPort*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->cxPorts[1]->setChecked(true);
        QTest::mouseClick(dialog->btnOk, Qt::LeftButton);
    });
    window.RunCommand(Command::CommunicationPort);
    EXPECT_EQ(window.MainBar[3]->text(), "Port: COM2");
    ALL.Modified = false;
    messages.answers = {kMsgYes};
    window.close();
    EXPECT_NE(ReadAll(dir.file("SysInfo.Ini")).find("Com=COM2"), std::string::npos);
}

TEST_F(LinkWindows, WindowsTakeTheirTextsFromTheLanguageFile)
{
    dir.write("SysInfo.Ini", "[SysInfo]\nLanguage_ID=1\nLanguage_SW=English|Deutsch\n");
    dir.write("Deutsch.Ini",
              "[fSetPort]\nfSetPort.Caption=Schnittstelle\nlbName.Caption=Anschluss \n"
              "btnOk.Caption=&Gut\n[fReadRadio]\nfReadRadio.Caption=Funkgerät lesen\n"
              "btnCancel.Caption=&Abbrechen\n");
    StartFresh(dir.path().string());
    ASSERT_EQ(ALL.LanguageId, 1);
    TfSetPort dialog;
    EXPECT_EQ(dialog.windowTitle(), "Schnittstelle");
    EXPECT_EQ(dialog.cxPort->title(), "Schnittstelle");
    EXPECT_EQ(dialog.cxPorts[11]->text(), "Anschluss12");
    EXPECT_EQ(dialog.btnOk->text(), "&Gut");

    StartFirstDocument();
    TfReadRadio window;
    window.show();
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Funkgerät lesen"));
    EXPECT_EQ(window.btnCancel->text(), "&Abbrechen");
    EXPECT_EQ(window.btnOk->text(), "&Ok");
}
