// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QDropEvent>
#include <QUrl>
#include <filesystem>
#include <QFileDialog>
#include <QCoreApplication>
#include <QPushButton>
#include <QLabel>
#include <QPlainTextEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "ui/GuiTestSupport.h"
#include "TestSupport.h"
#include "app/ui/EmbeddedMessage.h"
#include "app/ui/MainFrm.h"
#include "core/State.h"
#include "editors/ui/ChsInfo.h"
#include "editors/ui/DtmfFun.h"
#include "editors/ui/InfoMsg.h"
#include "editors/ui/KeyFun.h"
#include "editors/ui/OptFun.h"
#include "editors/ui/ScanFun.h"
#include "editors/ui/VoxFun.h"
#include "settings/Language.h"
#include "settings/ui/QtMsgBox.h"
#include "ui/MainWindowFixture.h"

class MainFrm : public MainWindowFixture {
protected:
    QTreeWidgetItem* Root() { return window->cxTree->topLevelItem(0); }
};

TEST_F(MainFrm, StartsWithANewDocumentTreeStatusAndChannelEditor)
{
    EXPECT_EQ(window->windowTitle(), "QV-300");
    EXPECT_FALSE(ALL.Modified);
    EXPECT_EQ(ALL.Image[0x175], 0xF3);
    QStringList nodes;
    for (int i = 0; i < Root()->childCount(); ++i)
        nodes << Root()->child(i)->text(0);
    EXPECT_EQ(nodes, (QStringList{"Radio Information", "Channel Information", "Key Function", "Vox Function",
                                  "Optional Function", "Scan Information", "DTMF Information"}));
    EXPECT_EQ(Root()->child(1)->childCount(), 16);
    EXPECT_EQ(Root()->child(1)->child(4)->text(0), "No. -  5");
    EXPECT_EQ(window->MainBar[3]->text(), "Port: COM1");
    EXPECT_EQ(window->MainBar[4]->text(), "QV-300");
    EXPECT_EQ(window->MainBar[5]->text(), "400 - 520MHz");
    EXPECT_EQ(window->MainBar[6]->text(), "  ");
    ASSERT_NE(window->ChannelEditor(), nullptr);
    EXPECT_EQ(window->mdi->subWindowList().size(), 1);
}

TEST_F(MainFrm, ChannelNodesMakeTheirChannelCurrentAndOpenTheEditorOnce)
{
    QTreeWidgetItem* fifth = Root()->child(1)->child(4);
    window->cxTree->setCurrentItem(fifth);
    emit window->cxTree->itemDoubleClicked(fifth, 0);
    EXPECT_EQ(ALL.CurrentChannel, 5);
    emit window->cxTree->itemDoubleClicked(fifth, 0);
    EXPECT_EQ(window->mdi->subWindowList().size(), 1);

    // A click on a node that is not the selected one does nothing.
    emit window->cxTree->itemClicked(Root()->child(1)->child(7), 0);
    EXPECT_EQ(ALL.CurrentChannel, 5);
}

TEST_F(MainFrm, CloseAsksAndStaysOpenOnNo)
{
    ALL.Modified = true;
    EXPECT_FALSE(window->close());
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Do you wish to exit program?"});

    messages.shown.clear();
    ALL.Modified = false;
    messages.answers = {kMsgYes};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_FALSE(ReadAll(dir.file("SysInfo.Ini")).empty());
}

TEST_F(MainFrm, NewReplacesTheDocumentAndRebuildsTheEditor)
{
    ALL.Image[0x010] = 0x00;
    messages.answers = {kMsgNo}; // do not save the changes
    ALL.Modified = true;
    window->RunCommand(Command::New);
    EXPECT_EQ(ALL.Image[0x010], 0xFF);
    EXPECT_FALSE(ALL.Modified);
    EXPECT_NE(window->ChannelEditor(), nullptr);
    EXPECT_EQ(window->windowTitle(), "QV-300");
}

TEST_F(MainFrm, AFrequencyStillBeingTypedCountsAsAChangeWhenClosing)
{
    QTableWidget* grid = window->ChannelEditor()->gvChs;
    int rx = window->ChannelEditor()->ColumnOfField(2);
    grid->setCurrentCell(0, rx); // channel 1
    grid->editItem(grid->item(0, rx));
    QWidget* editor = grid->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "446.5");
    messages.answers = {kMsgYes, kMsgNo}; // exit, then do not save
    EXPECT_TRUE(window->close());
    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{"Do you wish to exit program?", "Do you wish to save the changes?"}));
}

// Picks `path` in the next file dialog, or cancels it when empty.
static void AnswerFileDialog(const QString& path)
{
    OnNextDialog<QFileDialog>([path](QFileDialog* dialog) {
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(path);
        // QFileDialog::accept is not public; the slot of QDialog reaches it.
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

TEST_F(MainFrm, ATypedChannelSurvivesSaveAsNewAndOpen)
{
    QTableWidget* grid = window->ChannelEditor()->gvChs;
    const int rx = window->ChannelEditor()->ColumnOfField(2);
    grid->setCurrentCell(2, rx); // channel 3
    grid->editItem(grid->item(2, rx));
    auto* editor = grid->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "446.00625");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();

    const QString file = QString::fromStdString(dir.file("radio.dat"));
    AnswerFileDialog(file);
    window->RunCommand(Command::SaveAs);
    EXPECT_EQ(window->windowTitle(), "QV-300 [" + file + "]");
    EXPECT_FALSE(ALL.Modified);
    const std::string saved = ReadAll(file.toStdString());
    ASSERT_EQ(saved.size(), 464u);

    // Save As onto the same file asks first; No leaves the file alone.
    ALL.Image[0x035] = 0x12;
    ALL.Modified = true;
    messages.answers = {kMsgNo};
    AnswerFileDialog(file);
    window->RunCommand(Command::SaveAs);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"The File is Exists,Replace it?"});
    EXPECT_EQ(ReadAll(file.toStdString()), saved);
    EXPECT_EQ(window->windowTitle(), "QV-300 [" + file + "]") << "the document keeps its file";

    // A cancelled Save As changes nothing either.
    AnswerFileDialog("");
    window->RunCommand(Command::SaveAs);
    EXPECT_EQ(window->windowTitle(), "QV-300 [" + file + "]");
    EXPECT_EQ(window->FileName, file.toStdString());
    EXPECT_TRUE(ALL.Modified);

    // New without saving, then Open brings channel 3 back.
    messages.shown.clear();
    messages.answers = {kMsgNo};
    window->RunCommand(Command::New);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Do you wish to save the changes?"});
    EXPECT_TRUE(window->ChannelEditor()->gvChs->item(2, rx)->text().isEmpty());
    AnswerFileDialog(file);
    window->RunCommand(Command::Open);
    EXPECT_EQ(window->ChannelEditor()->gvChs->item(2, window->ChannelEditor()->ColumnOfField(2))->text(), "446.00625");
    EXPECT_EQ(window->windowTitle(), "QV-300 [" + file + "]");
    EXPECT_FALSE(ALL.Modified);

    // Dropped on the window (or named on the command line), the file opens
    // as Open opens it: the changes are offered for saving first.
    window->RunCommand(Command::New);
    window->ChannelEditor()->gvChsSetForeText(0, rx, "447.0");
    messages.shown.clear();
    messages.answers = {kMsgNo};
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(file)});
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject*>(window.get())->event(&drop); // as the drag's end hands it over
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return window->ChannelEditor()->gvChs->item(2, rx)->text() == "446.00625"; }, 5000));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Do you wish to save the changes?"});
    EXPECT_EQ(window->FileName, file.toStdString());
    EXPECT_FALSE(ALL.Modified);
}

// JSON makes a new document: the changes are offered for saving first, and
// it does not take the old file's place, so Save asks where.
TEST_F(MainFrm, JsonImportLeavesTheOldFileToTheOldDocument)
{
    const QString file = QString::fromStdString(dir.file("radio.dat"));
    AnswerFileDialog(file);
    window->RunCommand(Command::SaveAs);
    const std::string saved = ReadAll(file.toStdString());
    ALL.Image[0x035] = 0x12;
    ALL.Modified = true;
    messages.shown.clear();
    AnswerFileDialog(QString::fromStdString(dir.write("in.json", R"({"channels": [{"number": 1, "rx": "446.3"}]})")));
    window->RunCommand(Command::ImportJson);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Do you wish to save the changes?"});
    EXPECT_EQ(window->ChannelEditor()->gvChs->item(0, window->ChannelEditor()->ColumnOfField(2))->text(), "446.30000");
    EXPECT_EQ(window->FileName, "");
    EXPECT_EQ(window->windowTitle(), "QV-300");
    EXPECT_TRUE(ALL.Modified);
    AnswerFileDialog("");
    window->RunCommand(Command::Save);
    EXPECT_EQ(ReadAll(file.toStdString()), saved);
}

TEST_F(MainFrm, EveryEditorOpensOnceAtItsPlaceFromMenuAndTree)
{
    const auto before = ALL.Image;
    const std::pair<const char*, const char*> items[] = {
        {"nKeys_Funs", "fKeyFun"},  {"nVoxs_Funs", "fVoxFun"},  {"nOpts_Funs", "fOptFun"},
        {"nScan_Funs", "fScanFun"}, {"nDtmf_Funs", "fDtmfFun"}, {"nMode_Info", "fInfoMsg"},
    };
    for (const auto& [action, form] : items) {
        window->findChild<QAction*>(action)->trigger();
        QMdiSubWindow* active = window->mdi->activeSubWindow();
        ASSERT_NE(active, nullptr) << action;
        EXPECT_EQ(active->widget()->objectName(), form);
        EXPECT_EQ(active->pos(), QPoint(20, 20)) << form;
        // The frame's title bar and borders take nothing from the window.
        QCoreApplication::processEvents();
        EXPECT_GE(active->widget()->width(), active->widget()->sizeHint().width()) << form;
        EXPECT_GE(active->widget()->height(), active->widget()->sizeHint().height()) << form;
    }
    EXPECT_EQ(window->mdi->subWindowList().size(), 7);
    EXPECT_EQ(ALL.Image, before);
    EXPECT_FALSE(ALL.Modified);

    // A second request, here from the tree, brings the open window forward.
    QTreeWidgetItem* keys = Root()->child(2);
    ASSERT_EQ(keys->text(0), "Key Function");
    window->cxTree->setCurrentItem(keys);
    emit window->cxTree->itemDoubleClicked(keys, 0);
    EXPECT_EQ(window->mdi->subWindowList().size(), 7);
    EXPECT_EQ(window->mdi->activeSubWindow()->widget(), window->Editor(Command::KeyFunction));

    // A replaced document closes every editor and reopens the channel editor.
    window->RefreshEditors();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->Editor(Command::KeyFunction), nullptr);
    EXPECT_EQ(window->Editor(Command::RadioInformation), nullptr);
    EXPECT_EQ(window->mdi->subWindowList().size(), 1);
    EXPECT_NE(window->ChannelEditor(), nullptr);
}

TEST_F(MainFrm, AClosedEditorOpensAnewOnTheNextRequest)
{
    window->RunCommand(Command::ScanInformation);
    auto* scan = qobject_cast<TfScanFun*>(window->Editor(Command::ScanInformation));
    ASSERT_NE(scan, nullptr);
    scan->btnCancel->click();
    EXPECT_EQ(window->Editor(Command::ScanInformation), nullptr);
    window->RunCommand(Command::ScanInformation);
    ASSERT_NE(window->Editor(Command::ScanInformation), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->mdi->subWindowList().size(), 2);
}

TEST_F(MainFrm, TheEmbeddedMessageDialogChangesNothing)
{
    EXPECT_FALSE(window->findChild<QAction*>("E11")->isVisible());
    const auto before = ALL.Image;
    OnNextDialog<TfEmbeddedMessage>([](TfEmbeddedMessage* dialog) {
        QTest::keyClicks(dialog->Memo1, "446.00625");
        dialog->btnCancel->click();
    });
    window->RunCommand(Command::EmbeddedMessage);
    EXPECT_EQ(ALL.Image, before);
    EXPECT_FALSE(ALL.Modified);
}

// The real question boxes: Escape on "save the changes?", or closing that
// box, stops Exit and New with the document, file name and program as they
// were; Escape on the exit question is No.
TEST_F(MainFrm, EscapeOnTheSaveQuestionCancelsTheCommand)
{
    InstallQtMsgBox();
    ALL.Image[0x010] = 0x00;
    ALL.Modified = true;
    const auto edited = ALL.Image;
    window->FileName = dir.file("kept.dat");
    QStringList asked;
    // Yes on the exit question (its default button), then Escape.
    OnNextDialog<QMessageBox>([&asked](QMessageBox* exit) {
        asked << exit->text();
        OnNextDialog<QMessageBox>([&asked](QMessageBox* save) {
            asked << save->text();
            EXPECT_EQ(save->defaultButton(), save->button(QMessageBox::Yes));
            EXPECT_TRUE(save->button(QMessageBox::No)->isVisible());
            QTest::keyClick(save, Qt::Key_Escape);
        });
        QTest::keyClick(exit, Qt::Key_Return);
    });
    EXPECT_FALSE(window->close());
    EXPECT_EQ(asked, (QStringList{"Do you wish to exit program?", "Do you wish to save the changes?"}));

    OnNextDialog<QMessageBox>([](QMessageBox* save) { save->close(); });
    window->RunCommand(Command::New);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->FileName, dir.file("kept.dat"));
    EXPECT_FALSE(std::filesystem::exists(window->FileName));
    EXPECT_TRUE(ALL.Image == edited);
    EXPECT_TRUE(ALL.Modified);

    OnNextDialog<QMessageBox>([](QMessageBox* exit) { QTest::keyClick(exit, Qt::Key_Escape); });
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(ALL.Modified);
}

// Without a viewer for the compiled help, Help opens the HTML guide of the
// current language, and says where it is when that cannot be opened either.
TEST_F(MainFrm, HelpOpensTheGuideOrNamesIt)
{
    std::vector<QString> opened;
    bool opens = true;
    window->OpenUrl = [&](const QUrl& url) {
        opened.push_back(url.toLocalFile());
        return opens;
    };
    // The help file is there, but no program on the desktop shows it.
    dir.write("_" + ALL.LanguageName + ".chm", "ITSF");
    window->HasViewer = [](const QString&) { return false; };
    for (const char* language : {"en", "zh"}) {
        std::filesystem::create_directories(dir.path() / "help" / language);
        dir.write(std::string("help/") + language + "/index.html", "<html></html>");
    }
    window->RunCommand(Command::HelpTopics);
    Language.Locale = "zh_CN";
    window->RunCommand(Command::HelpTopics);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_TRUE(opened[0].endsWith("/help/en/index.html") && QFileInfo::exists(opened[0])) << opened[0].toStdString();
    EXPECT_TRUE(opened[1].endsWith("/help/zh/index.html") && QFileInfo::exists(opened[1])) << opened[1].toStdString();
    EXPECT_TRUE(messages.shown.empty());

    opens = false;
    window->RunCommand(Command::HelpTopics);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(opened[1].toStdString()), std::string::npos) << messages.shown[0].text;
    Language.Locale.clear();
}
