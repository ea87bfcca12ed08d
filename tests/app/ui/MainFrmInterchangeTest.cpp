// SPDX-License-Identifier: GPL-3.0-or-later
#include <QClipboard>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <filesystem>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/ui/MainFrm.h"
#include "core/State.h"
#include "editors/ui/ChsInfo.h"
#include "image/ChannelCodec.h"
#include "ui/GuiTestSupport.h"
#include "ui/MainWindowFixture.h"

class MainFrmInterchange : public MainWindowFixture {
protected:
    QString Cell(int row, int column) const { return window->ChannelEditor()->gvChs->item(row, column)->text(); }
};

TEST_F(MainFrmInterchange, CsvImportRefreshesTheGridMarksTheDocumentAndReportsTheRowsLeft)
{
    const std::string csv = dir.write("in.csv", "Location,Frequency,Mode\n4,446.1,FM\n5,999.0,FM\n6,446.2,NFM\n");
    window->ImportPath(csv, Command::ImportCsv, true);
    EXPECT_TRUE(ALL.Modified);
    EXPECT_EQ(Cell(3, 1), "446.10000");
    EXPECT_EQ(Cell(5, 1), "446.20000");
    EXPECT_EQ(Cell(4, 1), "");
    auto* report = window->findChild<QDialog*>("fImportReport");
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(report->isVisible());
    EXPECT_TRUE(report->findChild<QPlainTextEdit*>("mRows")->toPlainText().startsWith("Line 3:"));
    report->close();

    window->RunCommand(Command::Undo);
    EXPECT_EQ(Cell(3, 1), "") << "the import is one step of the undo history";
    EXPECT_EQ(Cell(5, 1), "");
}

// A file of which no row is taken is a failed import that empties nothing;
// into the file's locations, the channels it does not name stay.
TEST_F(MainFrmInterchange, AnImportThatTakesNoRowChangesNothing)
{
    for (int n = 1; n <= 3; ++n)
        InitChannel(n, std::to_string(440 + n) + ".0");
    window->ChannelEditor()->FillAllRows();
    ALL.Modified = false;
    const auto image = ALL.Image;
    window->ImportPath(dir.write("header.csv", "Location,Frequency\n"), Command::ImportCsv, false);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.rfind("Nothing was imported: ", 0), 0u) << messages.shown[0].text;
    window->ImportPath(dir.write("far.csv", "Location,Frequency\n1,999.0\n2,10.0\n"), Command::ImportCsv, false);
    auto* report = window->findChild<QDialog*>("fImportReport");
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(report->findChild<QLabel*>("lSummary")->text().startsWith("Nothing was imported: "));
    EXPECT_EQ(ALL.Image, image);
    EXPECT_FALSE(ALL.Modified);
    EXPECT_EQ(Cell(1, 1), "442.00000");

    window->ImportPath(dir.write("one.csv", "Location,Frequency\n2,446.3\n"), Command::ImportCsv, true);
    EXPECT_EQ(Cell(0, 1), "441.00000");
    EXPECT_EQ(Cell(1, 1), "446.30000");
    EXPECT_EQ(Cell(2, 1), "443.00000");
}

TEST_F(MainFrmInterchange, AFaultyJsonImportShowsWhyAndChangesNothing)
{
    window->ImportPath(dir.write("in.csv", "Location,Frequency\n1,446.1\n"), Command::ImportCsv, false);
    ALL.Modified = false;
    const auto image = ALL.Image;
    window->ImportPath(dir.write("bad.json", R"({"channels": [{"number": 1, "rx": "446.3", "power": "Max"}]})"),
                       Command::ImportJson, false);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("channels[0].power"), std::string::npos) << messages.shown[0].text;
    EXPECT_EQ(ALL.Image, image);
    EXPECT_FALSE(ALL.Modified);
    EXPECT_EQ(Cell(0, 1), "446.10000");
    EXPECT_EQ(window->findChild<QDialog*>("fImportReport"), nullptr);
}

TEST_F(MainFrmInterchange, CsvExportNamesTheRowsCHIRPWouldLeaveOut)
{
    window->ImportPath(dir.write("in.csv", "Location,Frequency,Tone,rToneFreq\n1,446.1,Tone,290.0\n"),
                       Command::ImportCsv, false);
    const QString out = QString::fromStdString(dir.file("out.csv"));
    OnNextDialog<QFileDialog>([out](QFileDialog* dialog) {
        dialog->selectFile(out);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    window->RunCommand(Command::ExportCsv);
    EXPECT_NE(ReadAll(out.toStdString()).find(",Tone,290.0,"), std::string::npos) << "the row is kept";
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("Channel 1: CHIRP knows no tone 290.0"), std::string::npos);
}

TEST_F(MainFrmInterchange, ChirpCsvOnTheClipboardPastesFromTheCurrentChannel)
{
    auto* mime = new QMimeData;
    mime->setData("text/csv", "Location,Name,Frequency,Mode\n1,A,446.1,NFM\n2,B,99.0,FM\n");
    QGuiApplication::clipboard()->setMimeData(mime);
    window->ChannelEditor()->gvChs->setCurrentCell(2, 1);
    window->RunCommand(Command::PasteChannels);
    EXPECT_EQ(Cell(2, 1), "446.10000");
    EXPECT_EQ(Cell(3, 1), "");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("99.0"), std::string::npos) << messages.shown[0].text;

    window->ChannelEditor()->gvChs->setCurrentCell(2, 1);
    window->RunCommand(Command::CopyChannels);
    const QString csv = QString::fromUtf8(QGuiApplication::clipboard()->mimeData()->data("text/csv"));
    EXPECT_TRUE(csv.contains("\r\n3,,446.100000,")) << csv.toStdString();

    // The same CSV copied as plain text from an editor.
    QGuiApplication::clipboard()->setText("Location,Name,Frequency,Mode\r\n1,A,446.2,NFM\r\n");
    window->ChannelEditor()->gvChs->setCurrentCell(5, 1);
    window->RunCommand(Command::PasteChannels);
    EXPECT_EQ(Cell(5, 1), "446.20000");
}

TEST_F(MainFrmInterchange, APdfExportThatFillsTheDiskSaysSoAndLeavesNoFile)
{
    const QString path = QString::fromStdString(dir.file("radio.pdf"));
    OnNextDialog<QFileDialog>([path](QFileDialog* dialog) {
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    {
        DiskFullAfter full(4096);
        window->RunCommand(Command::ExportPdf);
    }
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("File too large"), std::string::npos) << messages.shown[0].text;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().string().find("pdf"), std::string::npos) << entry.path();
}
