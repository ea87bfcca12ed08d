// SPDX-License-Identifier: GPL-3.0-or-later
// Window texts from language files: the main window, the channel grid, the
// About window and the language dialog.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <algorithm>
#include <gtest/gtest.h>

#include "ui/GuiTestSupport.h"
#include "TestSupport.h"
#include "app/ui/AboutDlg.h"
#include "app/ui/MainFrm.h"
#include "app/ui/ModelDlg.h"
#include "core/State.h"
#include "editors/ui/ChsInfo.h"
#include "link/PortNames.h"
#include "link/ui/SetPort.h"
#include "settings/Language.h"
#include "settings/ui/LocaliseForm.h"
#include "settings/ui/SetLanguageDlg.h"

namespace {

// A second language with texts for a sample of every kind of component.
const char* const kGerman =
    "[Language]\n"
    "ExitProgram=Programm beenden?\n"
    "[fMainFrm]\n"
    "fMainFrm.Caption=Funkgeraet\n"
    "nFile.Caption=&Datei\n"
    "N1.Caption=&Neu\n"
    "nKeys_Funs.Caption=&Tasten\n"
    "nKeys_Funs.Hint=Tastenbelegung\n"
    "tbRead.Hint=Lesen\n"
    "Label5.Caption=Kanal\n"
    "lCom.Caption=\"Schnittstelle: \"\n"
    "[fChsInfo]\n"
    "fChsInfo.Caption=Kanaele\n"
    "ColShow.2=090@Empfang\n"
    "cxDcts.0=Kein\n"
    "cxDcts.1=99.9\n"
    "cxPwrv.0=Hoch\n"
    "cxPwrv.1=\n"
    "[fSetLanguage]\n"
    "lbName.Caption=Sprache:\n"
    "Language.1=Deutsch\n"
    "[fFrmAbout]\n"
    "lStr1=ignored, no .Caption\n"
    "lStr1.Caption=QV-300 Programmiersoftware\n"
    "lStr2.Caption=Version 1\n"
    "lStr7.Caption=Fehler melden\n"
    "lStr8.Caption=   \n"
    "lStr9.Caption=\n";

class Localise : public ::testing::Test {
protected:
    TempDir dir;
    MessageRecorder messages{kMsgNo};
    std::unique_ptr<TfMainFrm> window;

    void Start(int languageId)
    {
        dir.write("SysInfo.Ini", "[SysInfo]\nLanguage_ID=" + std::to_string(languageId) +
                                     "\nLanguage_SW=English|German\nLanguage=English|German\n"
                                     "English=English|German\nGerman=Englisch|Deutsch\n");
        dir.write("German.Ini", kGerman);
        StartFresh(dir.path().string());
        window = std::make_unique<TfMainFrm>();
        window->show();
    }
    QAction* Item(const char* name) const { return window->findChild<QAction*>(name); }
    QMenu* Menu(const char* name) const { return window->findChild<QMenu*>(name); }
    QTreeWidgetItem* Root() const { return window->cxTree->topLevelItem(0); }
};

TEST_F(Localise, DesignLanguageLeavesEveryTextAsDesigned)
{
    dir.write("English.Ini", "[fMainFrm]\nnFile.Caption=Not read at index 0\n");
    Start(0);
    EXPECT_EQ(Menu("nFile")->title(), "&File");
    EXPECT_EQ(Item("N1")->text(), "&New");
    EXPECT_EQ(Language.ExitProgram, "Do you wish to exit program?");
    EXPECT_EQ(window->ChannelEditor()->gvChs->horizontalHeaderItem(1)->text(), "RX Frequency");
}

TEST_F(Localise, LanguageFileRelabelsMainWindowTreeAndStatusBar)
{
    Start(1);
    EXPECT_EQ(Language.ExitProgram, "Programm beenden?");
    EXPECT_EQ(Menu("nFile")->title(), "&Datei");
    EXPECT_EQ(Item("N1")->text(), "&Neu");
    // Keys the file lacks keep the design text.
    EXPECT_EQ(Item("O1")->text(), "&Open");
    // The tree is built from the Edit items' hints and the Label5 prefix.
    EXPECT_EQ(Root()->child(2)->text(0), "Tastenbelegung");
    EXPECT_EQ(Root()->child(1)->child(2)->text(0), "Kanal 3");
    EXPECT_EQ(Item("tbRead")->toolTip(), "Lesen");
    EXPECT_EQ(window->MainBar[3]->text(), "Schnittstelle: COM1");
    // The caption follows the document, not the language file.
    EXPECT_EQ(window->windowTitle(), "QV-300");
}

TEST_F(Localise, ChannelGridTakesTitlesFromColumnListAndCombosByTag)
{
    Start(1);
    ASSERT_NE(window->ChannelEditor(), nullptr);
    EXPECT_EQ(window->ChannelEditor()->windowTitle(), "Kanaele");
    const int rx = window->ChannelEditor()->ColumnOfField(2);
    EXPECT_EQ(window->ChannelEditor()->gvChs->horizontalHeaderItem(rx)->text(), "Empfang");
    EXPECT_EQ(window->ChannelEditor()->gvChs->columnWidth(rx), 90);
    // The tone list translates only its no-tone word, which every empty
    // tone cell then shows.
    EXPECT_EQ(window->ChannelEditor()->cxDcts->itemText(0), "Kein");
    EXPECT_EQ(window->ChannelEditor()->cxDcts->itemText(1), "67.0");
    EXPECT_EQ(window->ChannelEditor()->lNone->text(), "Kein");
    // A fixed list translates every item; an empty value is a value.
    EXPECT_EQ(window->ChannelEditor()->cxPwrv->itemText(0), "Hoch");
    EXPECT_EQ(window->ChannelEditor()->cxPwrv->itemText(1), "");
}

TEST_F(Localise, AboutWindowIsRelabelledEvenInTheDesignLanguage)
{
    Start(0);
    ALL.LanguageName = "German";
    TfFrmAbout about;
    EXPECT_EQ(about.windowTitle(), "QV-300");
    EXPECT_EQ(about.lStr[0]->text(), "QV-300 Programmiersoftware");
    EXPECT_EQ(about.lStr[2]->text(), "3");
    // Labels 8 and 9 are blank, label 7 is the last line with text: the window
    // ends 55 pixels below it.
    EXPECT_EQ(about.height(), about.lStr[6]->geometry().bottom() + 1 + 55);

    // Without a language file the digits show, and label 9 sets the height.
    ALL.LanguageName = "Missing";
    TfFrmAbout plain;
    EXPECT_EQ(plain.lStr[8]->text(), "9");
    EXPECT_EQ(plain.height(), plain.lStr[8]->geometry().bottom() + 1 + 55);

    // With labels 6 to 9 all blank, label 5 sets it.
    dir.write("Blank.Ini", "[fFrmAbout]\nlStr6.Caption=\nlStr7.Caption= \nlStr8.Caption=\nlStr9.Caption=\n");
    ALL.LanguageName = "Blank";
    TfFrmAbout blank;
    EXPECT_EQ(blank.height(), blank.lStr[4]->geometry().bottom() + 1 + 55);

    // A press on a label closes the window.
    blank.show();
    QTest::mousePress(blank.lStr[2], Qt::LeftButton);
    EXPECT_FALSE(blank.isVisible());
    EXPECT_EQ(blank.result(), QDialog::Accepted);
}

TEST_F(Localise, LanguageDialogSwitchesLanguageAndRebuildsTheWindows)
{
    Start(0);
    ALL.Modified = true;
    OnNextDialog<TfSetLanguage>([](TfSetLanguage* dialog) {
        EXPECT_EQ(dialog->cbLanguage->count(), 2);
        EXPECT_EQ(dialog->cbLanguage->currentIndex(), 0);
        dialog->cbLanguage->setCurrentIndex(1);
        dialog->btnOk->click();
    });
    window->RunCommand(Command::LanguageFileSetup);
    EXPECT_EQ(ALL.LanguageId, 1);
    EXPECT_EQ(ALL.LanguageName, "German");
    EXPECT_EQ(Language.ExitProgram, "Programm beenden?");
    EXPECT_EQ(Menu("nFile")->title(), "&Datei");
    EXPECT_EQ(Root()->child(1)->child(0)->text(0), "Kanal 1");
    EXPECT_EQ(window->ChannelEditor()->windowTitle(), "Kanaele");
    // Unsaved changes stay unsaved changes.
    EXPECT_TRUE(ALL.Modified);

    // Back to index 0 without an English.Ini: messages return to their
    // defaults, the main window keeps the texts it has, and windows opened
    // afterwards show their design texts.
    OnNextDialog<TfSetLanguage>([](TfSetLanguage* dialog) {
        EXPECT_EQ(dialog->cbLanguage->itemText(1), "Deutsch");
        EXPECT_EQ(dialog->lbName->text(), "Sprache:");
        dialog->cbLanguage->setCurrentIndex(0);
        dialog->btnOk->click();
    });
    window->RunCommand(Command::LanguageFileSetup);
    EXPECT_EQ(ALL.LanguageId, 0);
    EXPECT_EQ(Language.ExitProgram, "Do you wish to exit program?");
    EXPECT_EQ(Menu("nFile")->title(), "&Datei");
    EXPECT_EQ(window->ChannelEditor()->windowTitle(), "Channel Information");

    // With an English.Ini the switch back relabels the main window.
    dir.write("English.Ini", "[fMainFrm]\nnFile.Caption=&File\n");
    ALL.LanguageId = 1;
    ALL.LanguageName = "German";
    OnNextDialog<TfSetLanguage>([](TfSetLanguage* dialog) {
        dialog->cbLanguage->setCurrentIndex(0);
        dialog->btnOk->click();
    });
    window->RunCommand(Command::LanguageFileSetup);
    EXPECT_EQ(Menu("nFile")->title(), "&File");
}

TEST_F(Localise, LanguageDialogHandsOnTranslatedFileNamesAndCancelChangesNothing)
{
    Start(1);
    OnNextDialog<TfSetLanguage>([](TfSetLanguage* dialog) { dialog->btnCancel->click(); });
    window->RunCommand(Command::LanguageFileSetup);
    EXPECT_EQ(ALL.LanguageName, "German");

    // Language.1 in the dialog's section replaces the file name it hands on.
    ALL.LanguageId = 0;
    ALL.LanguageName = "English";
    TfSetLanguage dialog;
    ASSERT_EQ(dialog.Language->count(), 2);
    dialog.cbLanguage->setCurrentIndex(1);
    dialog.btnOkClick();
    EXPECT_TRUE(dialog.Changed);
    EXPECT_EQ(ALL.LanguageName, "German"); // at index 0 nothing is relabelled

    ALL.LanguageId = 1;
    TfSetLanguage translated;
    EXPECT_EQ(translated.Language->item(1)->text(), "Deutsch");
    translated.cbLanguage->setCurrentIndex(0);
    translated.btnOkClick();
    EXPECT_EQ(ALL.LanguageName, "English");
    EXPECT_EQ(ALL.LanguageId, 0);
}

TEST_F(Localise, MainWindowSectionRelabelsNeitherItsEditorsNorDialogsNorStatusBar)
{
    // Keys of the main window's section that happen to be the names of
    // components inside its editors, a dialog over it and its status bar.
    dir.write("Other.Ini",
              "[fMainFrm]\nnFile.Caption=&Datei\nbtnCancel.Caption=Falsch\nColShow.2=010@Falsch\n"
              "btnOk.Caption=Falsch\nMainBar4.Caption=Falsch\n");
    Start(0);
    window->RunCommand(Command::KeyFunction);
    TfSetLanguage dialog(window.get());
    ALL.LanguageName = "Other";
    LocaliseForm(window.get(), true);
    EXPECT_EQ(Menu("nFile")->title(), "&Datei");
    auto* keyWindow = window->mdi->activeSubWindow()->widget();
    EXPECT_EQ(keyWindow->findChild<QPushButton*>("btnCancel")->text(), "&Close");
    EXPECT_EQ(window->ChannelEditor()->ColShow->item(1, 1)->text(), "080@RX Frequency");
    EXPECT_EQ(dialog.btnOk->text(), "&Ok");
    EXPECT_EQ(window->MainBar[4]->text(), "QV-300");

    const std::vector<QString> keys = LocalisableKeys(window.get());
    for (const char* foreign : {"btnCancel.Caption", "ColShow.2", "btnOk.Caption", "MainBar4.Caption", "gvChs.Caption"})
        EXPECT_EQ(std::count(keys.begin(), keys.end(), QString(foreign)), 0) << foreign;
    EXPECT_EQ(std::count(keys.begin(), keys.end(), QString("nFile.Caption")), 1);
}

// A machine with one USB serial cable.
class OneCable : public TPortSystem {
public:
    std::vector<std::string> DevicePaths() override { return {"/dev/ttyUSB0"}; }
    bool CanOpen(const std::string&) override { return true; }
};

TEST_F(Localise, NamesTheProgramLooksUpByTextAreNotRelabelled)
{
    // Model names, band texts and port names are found again by their text:
    // a language file that renames them must not break the lookup.
    OneCable machine;
    SetPortSystem(&machine);
    Start(1);
    dir.write("German.Ini", std::string(kGerman) +
                                "[fModel]\ncbCopmut.0=Funkgeraet\ncbPd.0=Band A\nLabel1.Caption=Modell:\n"
                                "[fMainFrm]\ncbCom.0=Eins\n[fSetPort]\ncbCom.0=Eins\n");
    LocaliseForm(window.get(), true);
    EXPECT_EQ(window->cbCom->itemText(0), "COM1");

    TfModel model;
    EXPECT_EQ(model.Label1->text(), "Modell:");
    EXPECT_EQ(model.cbCopmut->itemText(0), "QV-300");
    EXPECT_EQ(model.cbPd->itemText(0), "134 - 174MHz");
    model.cbPd->setCurrentIndex(0);
    EXPECT_TRUE(window->ApplyModelChoice(model.Choice()));
    EXPECT_EQ(ALL.BandText, "134 - 174MHz");

    TfSetPort port;
    ASSERT_EQ(port.cbCom->count(), 1);
    EXPECT_EQ(port.cbCom->itemText(0), "COM1");
    SetPortSystem(nullptr);
}

} // namespace

// Help and the hidden Window menu, which belong to the main window's
// commands rather than to its texts.
class HelpReceiver : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

TEST_F(Localise, HelpOpensTheHelpFileOfTheCurrentLanguage)
{
    Start(1);
    // The help file is there and the desktop has a viewer for it.
    dir.write("_German.chm", "ITSF");
    window->HasViewer = [](const QString&) { return true; };
    HelpReceiver receiver;
    QDesktopServices::setUrlHandler("file", &receiver, "open");
    window->RunCommand(Command::HelpTopics);
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(receiver.opened.size(), 1);
    EXPECT_EQ(receiver.opened.front().toLocalFile().toStdString(), ALL.AppPath + "_German.chm");
}

TEST_F(Localise, WindowMenuIsHiddenAndItsCommandsWork)
{
    Start(0);
    EXPECT_FALSE(Menu("nWindow")->menuAction()->isVisible());
    ASSERT_NE(Item("nCloseAll"), nullptr);
    window->RunCommand(Command::CloseAllWindows);
    QApplication::processEvents();
    EXPECT_EQ(window->ChannelEditor(), nullptr);
    EXPECT_TRUE(window->mdi->subWindowList().isEmpty());
    window->RunCommand(Command::ChannelInformation);
    EXPECT_NE(window->ChannelEditor(), nullptr);
}

#include "LocaliseTest.moc"
