// SPDX-License-Identifier: GPL-3.0-or-later
// The language files the program ships. Chinese.Ini must carry a text for
// every text of every window and for every message, so that no control can
// ship untranslated; English.Ini must bring the main window back to its
// design texts; SysInfo.Ini offers both languages under their own names.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QLabel>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "ui/GuiTestSupport.h"
#include "TestSupport.h"
#include "base/IniFile.h"
#include "base/TextEncoding.h"
#include "app/ui/AboutDlg.h"
#include "app/ui/MainFrm.h"
#include "app/ui/ModelDlg.h"
#include "core/State.h"
#include "document/FleetTexts.h"
#include "document/SafeTexts.h"
#include "editors/SheetTexts.h"
#include "editors/ui/ChsInfo.h"
#include "image/formats/InterchangeTexts.h"
#include "image/SettingFields.h"
#include "link/DoctorTexts.h"
#include "link/FakeLink.h"
#include "link/PortNames.h"
#include "link/ui/Doctor.h"
#include "link/ui/LinkDialog.h"
#include "link/ui/ReadRadio.h"
#include "link/ui/SetPort.h"
#include "link/ui/WriteRadio.h"
#include "settings/Language.h"
#include "settings/MsgBox.h"
#include "settings/SysInfo.h"
#include "settings/ui/LocaliseForm.h"
#include "settings/ui/QtMsgBox.h"
#include "settings/ui/SetLanguageDlg.h"

namespace {

std::string Shipped(const std::string& name)
{
    return std::string(QV300_DATA_DIR) + "/" + name;
}

// The windows of the program, by section name.
const std::set<QString> kSections = {"fMainFrm", "fChsInfo",     "fKeyFun",  "fOptFun",    "fVoxFun",
                                     "fScanFun", "fDtmfFun",     "fInfoMsg", "fReadRadio", "fWriteRadio",
                                     "fSetPort", "fSetLanguage", "fModel",   "fFrmAbout",  "fDoctor"};
// The text sections outside the windows' own.
const TextSection* const kTextSections[] = {&kSheetTexts, &kFleetTexts, &kSafeTexts, &kDoctorTexts, &kInterchangeTexts};
// The editors the main window opens, by command.
constexpr Command kEditorCommands[] = {Command::KeyFunction,      Command::VoxFunction,     Command::OptionalFunction,
                                       Command::RadioInformation, Command::DtmfInformation, Command::ScanInformation};

using Texts = std::vector<std::pair<QString, QString>>;

// A machine with one USB serial cable, so that the port lists have entries.
class OneCableMachine : public TPortSystem {
public:
    std::vector<std::string> DevicePaths() override { return {"/dev/ttyUSB0"}; }
    bool CanOpen(const std::string& path) override { return path == "/dev/ttyUSB0"; }
};

class LanguageFiles : public ::testing::Test {
protected:
    TempDir dir;
    MessageRecorder messages{kMsgNo};
    OneCableMachine machine;
    std::unique_ptr<TfMainFrm> window;

    void SetUp() override
    {
        ClearRunMappings();
        SetPortSystem(&machine);
        // The link windows are made but never shown: no exchange runs.
        SetLinkPartsFactory([] {
            auto clock = std::make_unique<FakeClock>();
            auto port = std::make_unique<FakePort>(*clock);
            return LinkParts{std::move(port), std::move(clock)};
        });
    }
    void TearDown() override
    {
        window.reset();
        SetLinkPartsFactory(nullptr);
        SetPortSystem(nullptr);
    }

    // The shipped settings and language files in the program's folder, with
    // the language of index `languageId` current.
    void InstallShippedFiles(int languageId)
    {
        for (const char* name : {"SysInfo.Ini", "English.Ini", "Chinese.Ini"})
            std::filesystem::copy_file(Shipped(name), dir.file(name),
                                       std::filesystem::copy_options::overwrite_existing);
        TIniFile sysInfo(dir.file("SysInfo.Ini"));
        ASSERT_TRUE(sysInfo.WriteString("SysInfo", "Language_ID", std::to_string(languageId)));
    }

    void StartMainWindow()
    {
        StartFresh(dir.path().string());
        window = std::make_unique<TfMainFrm>();
        window->show();
    }

    // Every window of the program with the texts it shows, by section: the
    // main window, the channel grid and the editors as the main window
    // opens them, and the dialogs as made for one use (not run).
    std::map<QString, Texts> TextsOfEveryWindow()
    {
        std::map<QString, Texts> windows;
        windows[window->objectName()] = LocalisableTexts(window.get());
        windows[window->ChannelEditor()->objectName()] = LocalisableTexts(window->ChannelEditor());
        for (Command command : kEditorCommands) {
            window->RunCommand(command);
            QWidget* editor = window->mdi->activeSubWindow()->widget();
            windows[editor->objectName()] = LocalisableTexts(editor);
        }
        // Shown as their command would show them (which localises them), but
        // not run.
        auto add = [&windows](QDialog&& dialog) {
            dialog.show();
            windows[dialog.objectName()] = LocalisableTexts(&dialog);
            dialog.hide();
        };
        add(TfReadRadio());
        add(TfWriteRadio());
        add(TfSetPort());
        add(TfSetLanguage());
        add(TfModel());
        add(TfFrmAbout());
        add(TfDoctor());
        return windows;
    }
};

std::string Listed(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += "\n  " + line;
    return text;
}

bool HasChinese(const std::string& text)
{
    // Every CJK character is three bytes in UTF-8, led by 0xE3 to 0xE9.
    for (unsigned char c : text)
        if (c >= 0xE3 && c <= 0xE9)
            return true;
    return false;
}

TEST_F(LanguageFiles, ChineseFileHasATextForEveryWindowTextAndEveryMessage)
{
    StartMainWindow(); // the design language, no language file: design texts
    const std::map<QString, Texts> windows = TextsOfEveryWindow();
    std::set<QString> sections;
    for (const auto& [section, texts] : windows)
        sections.insert(section);
    EXPECT_EQ(sections, kSections);

    TIniFile chinese(Shipped("Chinese.Ini"));
    std::vector<std::string> missing;
    for (const auto& [section, texts] : windows) {
        EXPECT_FALSE(texts.empty()) << section.toStdString();
        for (const auto& [key, english] : texts)
            if (!chinese.Find(section.toStdString(), key.toStdString()))
                missing.push_back("[" + section.toStdString() + "] " + key.toStdString() + "=" + english.toStdString());
    }
    for (const MessageKey& m : kMessageKeys)
        if (!chinese.Find("Language", m.key))
            missing.push_back(std::string("[Language] ") + m.key + "=" + m.defaultText);
    EXPECT_TRUE(missing.empty()) << "Chinese.Ini lacks " << missing.size() << " keys:" << Listed(missing);
}

TEST_F(LanguageFiles, ChineseFileIsWindowsMadeGb18030AndEveryMessageIsTranslated)
{
    const std::string bytes = ReadAll(Shipped("Chinese.Ini"));
    ASSERT_FALSE(bytes.empty());
    EXPECT_FALSE(IsValidUtf8(bytes)) << "Chinese.Ini is shipped in GB18030, not UTF-8";
    // Every character decodes and encodes back to the same bytes.
    const std::string text = Gb18030ToUtf8(bytes);
    EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos) << "undecodable bytes";
    EXPECT_EQ(Utf8ToGb18030(text), bytes);
    // Every line ends in CR LF, and no CR stands anywhere else.
    size_t lines = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at byte " << i;
            ++lines;
        } else if (bytes[i] == '\r') {
            EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "bare CR at byte " << i;
        }
    }
    EXPECT_GT(lines, 300u);
    EXPECT_EQ(bytes.back(), '\n');

    TIniFile chinese(Shipped("Chinese.Ini"));
    for (const MessageKey& m : kMessageKeys)
        EXPECT_TRUE(HasChinese(chinese.ReadString("Language", m.key, ""))) << m.key;
    for (const TextKey& t : kSheetTexts.keys)
        EXPECT_TRUE(HasChinese(chinese.ReadString(kSheetTexts.name, t.key, ""))) << t.key;
    for (const TextKey& t : kFleetTexts.keys) {
        // "%1: %2" and "%1 (%2)" have no words.
        if (std::string(t.key) != "PortNotOpened" && std::string(t.key) != "ResultWithReason") {
            EXPECT_TRUE(HasChinese(chinese.ReadString(kFleetTexts.name, t.key, ""))) << t.key;
        }
    }
}

TEST_F(LanguageFiles, EnglishFileHasTheMainWindowsDesignTextsMessagesAndAboutLines)
{
    StartMainWindow();
    TIniFile english(Shipped("English.Ini"));
    std::vector<std::string> wrong;
    for (const auto& [key, design] : LocalisableTexts(window.get())) {
        std::optional<std::string> text = english.Find("fMainFrm", key.toStdString());
        if (!text || *text != design.toStdString())
            wrong.push_back(key.toStdString() + "=" + design.toStdString() + "  (file: " + text.value_or("missing") +
                            ")");
    }
    EXPECT_TRUE(wrong.empty()) << "English.Ini [fMainFrm] differs from the design texts:" << Listed(wrong);

    for (const MessageKey& m : kMessageKeys)
        EXPECT_EQ(english.Find("Language", m.key).value_or("missing"), m.defaultText) << m.key;
    for (const TextSection* s : kTextSections)
        for (const TextKey& t : s->keys)
            EXPECT_EQ(english.Find(s->name, t.key).value_or("missing"), t.english) << s->name << "." << t.key;
    for (int i = 1; i <= 9; ++i)
        EXPECT_TRUE(english.Find("fFrmAbout", "lStr" + std::to_string(i) + ".Caption")) << "lStr" << i;
    EXPECT_EQ(english.ReadString("fFrmAbout", "lStr1.Caption", ""), "QV-300 Programming Software");
}

TEST_F(LanguageFiles, ChineseStartRelabelsEveryWindowAndMessage)
{
    InstallShippedFiles(1);
    StartMainWindow();
    ASSERT_EQ(ALL.LanguageName, "Chinese");

    TIniFile chinese(dir.file("Chinese.Ini"));
    std::vector<std::string> wrong;
    for (const auto& [section, texts] : TextsOfEveryWindow()) {
        for (const auto& [key, shown] : texts) {
            std::string expected = chinese.ReadString(section.toStdString(), key.toStdString(), "missing");
            // The About window's version line has the version for its %1.
            if (size_t at = expected.find("%1"); at != std::string::npos)
                expected.replace(at, 2, QV300_VERSION);
            if (shown.toStdString() != expected)
                wrong.push_back("[" + section.toStdString() + "] " + key.toStdString() + " shows \"" +
                                shown.toStdString() + "\", file \"" + expected + "\"");
        }
    }
    EXPECT_TRUE(wrong.empty()) << "texts not taken from Chinese.Ini:" << Listed(wrong);

    // The window captions are Chinese, except those that show the family name.
    window->RunCommand(Command::KeyFunction);
    EXPECT_TRUE(HasChinese(window->ChannelEditor()->windowTitle().toStdString()));
    EXPECT_TRUE(HasChinese(window->mdi->activeSubWindow()->widget()->windowTitle().toStdString()));
    EXPECT_EQ(window->windowTitle(), "QV-300");

    // What the main window builds from its texts: the tree from the Edit
    // items' hints and the channel prefix, the status bar from the port word.
    QTreeWidgetItem* root = window->cxTree->topLevelItem(0);
    EXPECT_EQ(root->child(0)->text(0).toStdString(), chinese.ReadString("fMainFrm", "nMode_Info.Hint", ""));
    EXPECT_EQ(root->child(2)->text(0).toStdString(), chinese.ReadString("fMainFrm", "nKeys_Funs.Hint", ""));
    EXPECT_EQ(root->child(1)->child(4)->text(0).toStdString(),
              chinese.ReadString("fMainFrm", "Label5.Caption", "") + " 5");
    EXPECT_EQ(window->MainBar[3]->text().toStdString(), chinese.ReadString("fMainFrm", "lCom.Caption", "") + "COM1");

    // The side-key lists offer the translated entries and store by them.
    window->RunCommand(Command::KeyFunction);
    auto* keys = window->mdi->activeSubWindow()->widget();
    auto* longPress = keys->findChild<QComboBox*>("cxKeyL1");
    ASSERT_NE(longPress, nullptr);
    EXPECT_EQ(longPress->itemText(2).toStdString(), chinese.ReadString("fKeyFun", "List_Long.2", ""));
    longPress->setCurrentIndex(2);
    EXPECT_EQ(FieldItem(*FindSettingField("fKeyFun", "cxKeyL1")), 2);

    for (const MessageKey& m : kMessageKeys)
        EXPECT_EQ(Language.*m.field, chinese.ReadString("Language", m.key, "missing")) << m.key;
}

TEST_F(LanguageFiles, SwitchingToChineseAndBackRestoresTheMainWindow)
{
    InstallShippedFiles(0);
    StartMainWindow();
    const Texts design = LocalisableTexts(window.get());
    const QString designFile = window->findChild<QMenu*>("nFile")->title();
    // The first text of every section as the file has it (each %n filled in
    // with itself), read once in English before the switch.
    auto firstTexts = [] {
        std::vector<std::string> texts;
        for (const TextSection* s : kTextSections)
            texts.push_back(SectionText(*s, s->keys[0].key, {"%1", "%2", "%3", "%4"}));
        return texts;
    };
    const std::vector<std::string> english = firstTexts();

    OnNextDialog<TfSetLanguage>([](TfSetLanguage* dialog) {
        ASSERT_EQ(dialog->cbLanguage->count(), 2);
        EXPECT_EQ(dialog->cbLanguage->itemText(0), "English");
        EXPECT_EQ(dialog->cbLanguage->itemText(1), "Chinese");
        dialog->cbLanguage->setCurrentIndex(1);
        dialog->btnOk->click();
    });
    window->RunCommand(Command::LanguageFileSetup);
    EXPECT_EQ(ALL.LanguageName, "Chinese");
    TIniFile chinese(dir.file("Chinese.Ini"));
    EXPECT_EQ(window->findChild<QMenu*>("nFile")->title().toStdString(),
              chinese.ReadString("fMainFrm", "nFile.Caption", "missing"));
    EXPECT_NE(window->findChild<QMenu*>("nFile")->title(), designFile);
    EXPECT_EQ(Language.ExitProgram, chinese.ReadString("Language", "ExitProgram", "missing"));
    EXPECT_EQ(window->ChannelEditor()->windowTitle().toStdString(),
              chinese.ReadString("fChsInfo", "fChsInfo.Caption", "missing"));
    const std::vector<std::string> switched = firstTexts();
    for (size_t i = 0; i < switched.size(); ++i) {
        EXPECT_EQ(switched[i], chinese.ReadString(kTextSections[i]->name, kTextSections[i]->keys[0].key, "missing"));
        EXPECT_TRUE(HasChinese(switched[i])) << kTextSections[i]->name;
    }
    // Qt's own texts follow the language file's locale.
    EXPECT_TRUE(HasChinese(QCoreApplication::translate("QPlatformTheme", "&Yes").toStdString()));

    OnNextDialog<TfSetLanguage>([](TfSetLanguage* dialog) {
        ASSERT_EQ(dialog->cbLanguage->count(), 2);
        EXPECT_EQ(dialog->cbLanguage->itemText(0), "英文");
        EXPECT_EQ(dialog->cbLanguage->itemText(1), "中文");
        dialog->cbLanguage->setCurrentIndex(0);
        dialog->btnOk->click();
    });
    window->RunCommand(Command::LanguageFileSetup);
    EXPECT_EQ(ALL.LanguageName, "English");
    EXPECT_EQ(LocalisableTexts(window.get()), design);
    EXPECT_EQ(Language.ExitProgram, "Do you wish to exit program?");
    EXPECT_EQ(window->ChannelEditor()->windowTitle(), "Channel Information");
    EXPECT_EQ(firstTexts(), english);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Yes");
}

// In Chinese the file errors, the buttons of the real message boxes and
// Qt's save dialog are Chinese too.
TEST_F(LanguageFiles, ChineseReachesFileErrorsMessageButtonsAndTheSaveDialog)
{
    InstallShippedFiles(1);
    StartMainWindow();
    TIniFile chinese(dir.file("Chinese.Ini"));
    EXPECT_EQ(chinese.ReadString("Language", "Locale", ""), "zh_CN");

    window->FileName = dir.file("no/such/folder/x.dat");
    window->RunCommand(Command::Save);
    ASSERT_EQ(messages.shown.size(), 1u);
    const std::string error = messages.shown[0].text;
    EXPECT_EQ(error.rfind(chinese.ReadString("Language", "FileCreateError", "missing") + " \"", 0), 0u) << error;
    EXPECT_NE(error.find(chinese.ReadString("Language", "FileNotSaved", "missing")), std::string::npos) << error;

    InstallQtMsgBox();
    QStringList buttons;
    OnNextDialog<QMessageBox>([&buttons](QMessageBox* box) {
        for (QMessageBox::StandardButton b : {QMessageBox::Yes, QMessageBox::No})
            buttons << box->button(b)->text();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    MsgBox(Language.Confirmation, Language.SaveProgram, kMsgQuestion);
    OnNextDialog<QMessageBox>([&buttons](QMessageBox* box) {
        buttons << box->button(QMessageBox::Ok)->text();
        box->accept();
    });
    MsgBox(Language.Confirmation, error, kMsgInformation);
    ASSERT_EQ(buttons.size(), 3);
    for (const QString& text : buttons)
        EXPECT_TRUE(HasChinese(text.toStdString())) << text.toStdString();

    QStringList labels;
    OnNextDialog<QFileDialog>([&labels](QFileDialog* dialog) {
        labels << dialog->windowTitle();
        for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
            if (auto* label = dialog->findChild<QLabel*>(name))
                labels << label->text();
        labels << dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text();
        dialog->reject();
    });
    window->FileName.clear();
    window->RunCommand(Command::SaveAs);
    ASSERT_EQ(labels.size(), 5);
    for (const QString& text : labels)
        EXPECT_TRUE(HasChinese(text.toStdString())) << text.toStdString();
}

} // namespace
