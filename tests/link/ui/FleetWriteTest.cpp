// SPDX-License-Identifier: GPL-3.0-or-later
// The fleet write window against three simulated radios at once.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <fstream>

#include "TestSupport.h"
#include "app/cli/SimulatorProcess.h"
#include "core/State.h"
#include "document/DocumentFiles.h"
#include "link/PortNames.h"
#include "link/ui/FleetWrite.h"
#include "link/ui/WriteRadio.h"
#include "settings/Folders.h"

namespace {
class FleetWindow : public ::testing::Test {
protected:
    TempDir dir;
    ListedPorts machine;

    void SetUp() override
    {
        ClearRunMappings();
        StartFresh(dir.path().string());
        StartFirstDocument();
        SetBackupFolder(dir.file("backups"));
        SetPortSystem(&machine);
    }
    void TearDown() override
    {
        SetChangePreview(nullptr);
        SetFolderOpener(nullptr);
        SetPortSystem(nullptr);
        ClearRunMappings();
    }
    // The simulator's radios start from the document, so it fits them.
    std::vector<std::string> FromDocument(std::vector<std::string> options)
    {
        const std::string memory = dir.file("document.dat");
        EXPECT_TRUE(SaveDocumentFile(memory));
        options.insert(options.end(), {"--memory", memory, "--model", ALL.ModelCode});
        return options;
    }
    // The simulator's radios as COM1, COM2, ...
    void Plug(Simulator& sim, int radios)
    {
        for (int n = 1; n <= radios; ++n) {
            const std::string device = n == 1 ? sim.path() : sim.NextLine();
            machine.devices.push_back(device);
            MapPortForRun(n, device);
        }
    }
};

TEST_F(FleetWindow, WritesEveryCheckedPortAtOnceWhileOneRadioFails)
{
    // The second radio's power fails after write block 10.
    Simulator sim(dir, FromDocument({"--radios", "3", "--fault-radio", "2", "--power-loss-after", "10"}));
    Plug(sim, 3);
    int previews = 0;
    SetChangePreview([&](QWidget*, const std::vector<ContentChange>&) {
        ++previews;
        return true;
    });

    TfFleetWrite window;
    window.show();
    ASSERT_EQ(window.twPorts->rowCount(), 3);
    EXPECT_EQ(window.twPorts->item(1, 1)->text(), "COM2");
    EXPECT_TRUE(window.twPorts->item(1, 2)->text().startsWith(QString::fromStdString(machine.devices[1])));
    window.btnStart->click();
    ASSERT_NE(window.Fleet(), nullptr);
    EXPECT_FALSE(window.btnStart->isEnabled());
    EXPECT_TRUE(window.btnStop->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Fleet()->Running(); }, 90000));

    EXPECT_EQ(previews, 1); // once, for the first radio that answers
    EXPECT_TRUE(window.twPorts->item(0, 3)->text().startsWith("done ("))
        << window.twPorts->item(0, 3)->text().toStdString();
    EXPECT_TRUE(window.twPorts->item(1, 3)->text().startsWith("failed ("))
        << window.twPorts->item(1, 3)->text().toStdString();
    EXPECT_TRUE(window.twPorts->item(2, 3)->text().startsWith("done ("))
        << window.twPorts->item(2, 3)->text().toStdString();
    EXPECT_TRUE(window.btnStart->isEnabled());
    EXPECT_FALSE(window.btnStop->isEnabled());

    const std::string shown = window.mLog->toPlainText().toStdString();
    EXPECT_EQ(Occurrences(shown, ", verified, "), 2u) << shown;
    EXPECT_EQ(Occurrences(shown, "COM2: serial number "), 1u) << shown;
    EXPECT_NE(shown.find("2 written, 2 verified, 1 failed"), std::string::npos) << shown;
    std::ifstream in(dir.file("backups/fleet.csv"));
    size_t lines = 0;
    for (std::string line; std::getline(in, line);)
        ++lines;
    EXPECT_EQ(lines, 4u); // the heading and a line per radio
}

TEST_F(FleetWindow, WritesOnlyTheCheckedPortsAndOpensTheLogFolder)
{
    Simulator sim(dir, FromDocument({"--radios", "2"}));
    Plug(sim, 2);
    SetChangePreview([](QWidget*, const std::vector<ContentChange>&) { return true; });
    QString opened;
    SetFolderOpener([&](const QString& folder) {
        opened = folder;
        return true;
    });

    TfFleetWrite window;
    window.show();
    ASSERT_EQ(window.twPorts->rowCount(), 2);
    window.cbVerify->setChecked(false);
    window.twPorts->item(0, 0)->setCheckState(Qt::Unchecked);
    window.btnStart->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Fleet()->Running(); }, 60000));
    EXPECT_EQ(window.twPorts->item(0, 3)->text(), "idle");
    EXPECT_TRUE(window.twPorts->item(1, 3)->text().startsWith("done ("))
        << window.twPorts->item(1, 3)->text().toStdString();
    const std::string shown = window.mLog->toPlainText().toStdString();
    EXPECT_NE(shown.find("1 written, 0 verified, 0 failed"), std::string::npos) << shown;
    EXPECT_EQ(Occurrences(shown, "COM1:"), 0u) << shown;

    window.btnOpenFolder->click();
    EXPECT_EQ(opened, QString::fromStdString(dir.file("backups")));
    // A desktop without a file manager: the folder's path is shown instead.
    SetFolderOpener([](const QString&) { return false; });
    {
        MessageRecorder messages;
        window.btnOpenFolder->click();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_NE(messages.texts()[0].find(dir.file("backups")), std::string::npos) << messages.texts()[0];
    }

    // A second run lists its own radios only.
    window.btnStart->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Fleet()->Running(); }, 60000));
    const std::string again = window.mLog->toPlainText().toStdString();
    EXPECT_EQ(Occurrences(again, " verified, "), 1u) << again;
}
TEST_F(FleetWindow, TheTableShowsEveryListedPort)
{
    for (int n = 1; n <= 12; ++n) {
        machine.devices.push_back(dir.file("tty" + std::to_string(n)));
        MapPortForRun(n, machine.devices.back());
    }
    TfFleetWrite window;
    window.show();
    ASSERT_EQ(window.twPorts->rowCount(), 12);
    const int last = window.twPorts->rowViewportPosition(11) + window.twPorts->rowHeight(11);
    EXPECT_LE(last, window.twPorts->viewport()->height());
}
TEST_F(FleetWindow, HandsFreeWritesEachRadioPluggedInUntilStopped)
{
    const std::string control = dir.file("control.txt");
    std::ofstream(control).close();
    Simulator sim(dir, FromDocument({"--radios", "1", "--control", control}));
    Plug(sim, 1);
    SetChangePreview([](QWidget*, const std::vector<ContentChange>&) { return true; });
    auto tell = [&](const std::string& line) { std::ofstream(control, std::ios::app) << line << std::endl; };

    TfFleetWrite window;
    window.show();
    ASSERT_EQ(window.twPorts->rowCount(), 1);
    EXPECT_FALSE(window.cbRewriteDone->isEnabled());
    window.cbHandsFree->setChecked(true);
    EXPECT_TRUE(window.cbRewriteDone->isEnabled());
    window.cbVerify->setChecked(false);
    window.btnStart->click();
    auto lines = [&] { return Occurrences(window.mLog->toPlainText().toStdString(), "COM1: serial number "); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return lines() == 1; }, 60000));
    // The radio is taken off and another one plugged in: it is written too.
    tell("unplug 1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.twPorts->item(0, 3)->text() == "waiting for a radio"; }, 30000))
        << window.twPorts->item(0, 3)->text().toStdString();
    tell("plug 1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return lines() == 2; }, 60000)) << window.mLog->toPlainText().toStdString();
    EXPECT_TRUE(window.Fleet()->Running());
    window.btnStop->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Fleet()->Running(); }, 30000));
    const std::string shown = window.mLog->toPlainText().toStdString();
    EXPECT_NE(shown.find("2 written, 0 verified, 0 failed"), std::string::npos) << shown;
    EXPECT_TRUE(window.btnStart->isEnabled());
}
TEST_F(FleetWindow, ClosingMidRunAsksAndRecordsEveryRadioCutShortWithItsRestore)
{
    Simulator sim(dir, FromDocument({"--radios", "2", "--pace"}));
    Plug(sim, 2);
    SetChangePreview([](QWidget*, const std::vector<ContentChange>&) { return true; });
    MessageRecorder messages(kMsgOk);
    TfFleetWrite window;
    window.show();

    // Without backups, one question first, naming how many go in blind.
    window.cbBackup->setChecked(false);
    messages.answers = {kMsgNo};
    window.btnStart->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.texts()[0].find("2 radios will be written without a backup"), std::string::npos);
    EXPECT_TRUE(window.Fleet() == nullptr || !window.Fleet()->Running());

    window.cbBackup->setChecked(true);
    window.btnStart->click();
    auto writing = [&] { return window.twPorts->item(1, 3)->text().startsWith("writing"); };
    ASSERT_TRUE(QTest::qWaitFor(writing, 60000)) << window.twPorts->item(1, 3)->text().toStdString();
    // Closing asks: No keeps every port going; Yes stops them, and each
    // radio cut short has its line and its way back.
    messages.answers = {kMsgNo, kMsgYes};
    window.reject();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.Fleet()->Running());
    window.reject();
    EXPECT_FALSE(window.Fleet()->Running());
    ASSERT_EQ(messages.shown.size(), 4u);
    EXPECT_NE(messages.texts()[1].find("2 radios are being written"), std::string::npos) << messages.texts()[1];
    EXPECT_EQ(Occurrences(messages.texts()[3], "qv300-cli restore '"), 2u) << messages.texts()[3];
    EXPECT_EQ(Occurrences(ReadAll(dir.file("backups/fleet.csv")), ",interrupted,"), 2u);
    const std::string shown = window.mLog->toPlainText().toStdString();
    EXPECT_NE(shown.find("The preview for COM1 (serial number "), std::string::npos) << shown;
    EXPECT_NE(shown.find("), COM2 (serial number "), std::string::npos) << shown;
}
} // namespace
