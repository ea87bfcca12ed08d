// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard access in both shipped languages: every menu item and control of
// every window has an access key of its own, and every shortcut one command.
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <filesystem>
#include <gtest/gtest.h>
#include <numeric>

#include "TestSupport.h"
#include "app/ui/AboutDlg.h"
#include "app/ui/BackupsDlg.h"
#include "app/ui/MainFrm.h"
#include "app/ui/ModelDlg.h"
#include "base/IniFile.h"
#include "core/State.h"
#include "editors/ui/ChsInfo.h"
#include "image/ChannelCodec.h"
#include "link/SystemView.h"
#include "link/ui/ChangePreview.h"
#include "link/ui/Doctor.h"
#include "link/ui/FleetWrite.h"
#include "link/ui/ReadRadio.h"
#include "link/ui/SetPort.h"
#include "link/ui/WriteRadio.h"
#include "settings/Folders.h"
#include "settings/ui/SetLanguageDlg.h"
#include "ui/GuiTestSupport.h"

namespace {
// One window or menu: a text that needs a key and has none, two texts with one key.
struct Keys {
    std::string where;
    std::vector<std::string>& faults;
    std::map<QKeySequence, QString> seen;
    void Add(const QString& text, bool needed)
    {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (key.isEmpty() && needed)
            faults.push_back(where + ": \"" + text.toStdString() + "\" has no access key");
        else if (!key.isEmpty() && !seen.emplace(key, text).second)
            faults.push_back(where + ": \"" + text.toStdString() + "\" and \"" + seen[key].toStdString() +
                             "\" share a key");
    }
};

void MenuFaults(const std::string& where, const QList<QAction*>& items, std::vector<std::string>& faults)
{
    Keys keys{where, faults, {}};
    for (QAction* a : items)
        if (!a->isSeparator() && a->isVisible()) {
            keys.Add(a->text(), true);
            if (a->menu())
                MenuFaults(where + " > " + a->text().toStdString(), a->menu()->actions(), faults);
        }
}

// Shown with its window; the pages of a tab widget count, whichever is in front.
bool Shown(const QWidget* w, const QWidget* window)
{
    for (; w && w != window; w = w->parentWidget())
        if (w->isHidden() && !qobject_cast<const QStackedWidget*>(w->parentWidget()))
            return false;
    return true;
}

// `own`: every control needs a key; in a window of Qt's own ours must not clash.
void WindowFaults(QWidget* window, std::vector<std::string>& faults, bool own = true)
{
    Keys keys{window->objectName().toStdString(), faults, {}};
    std::set<const QWidget*> labelled;
    for (QLabel* label : window->findChildren<QLabel*>())
        if (Shown(label, window)) {
            labelled.insert(label->buddy());
            if (!label->buddy() && !QKeySequence::mnemonic(label->text()).isEmpty())
                faults.push_back(keys.where + ": \"" + label->text().toStdString() + "\" gives its key to nothing");
            keys.Add(label->text(), own && label->buddy());
        }
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (Shown(b, window) && !b->text().isEmpty() && !qobject_cast<QRadioButton*>(b)) // radio buttons: arrow keys
            keys.Add(b->text(), own);
    for (QGroupBox* g : window->findChildren<QGroupBox*>())
        keys.Add(g->title(), false);
    for (QWidget* field : window->findChildren<QWidget*>()) {
        const bool inner = qobject_cast<QComboBox*>(field->parentWidget()) ||
                           qobject_cast<QAbstractSpinBox*>(field->parentWidget());
        const bool typed = qobject_cast<QComboBox*>(field) || qobject_cast<QAbstractSpinBox*>(field) ||
                           qobject_cast<QLineEdit*>(field);
        if (own && typed && !inner && Shown(field, window) && !labelled.count(field))
            faults.push_back(keys.where + ": " + field->objectName().toStdString() + " has no label with a key");
    }
}

class AccessKeys : public ::testing::TestWithParam<int> {
protected:
    TempDir dir;
    MessageRecorder messages{kMsgNo};
    std::unique_ptr<TfMainFrm> window;
    void SetUp() override
    {
        for (const char* name : {"SysInfo.Ini", "English.Ini", "Chinese.Ini"})
            std::filesystem::copy_file(std::string(QV300_DATA_DIR) + "/" + name, dir.file(name));
        ASSERT_TRUE(
            TIniFile(dir.file("SysInfo.Ini")).WriteString("SysInfo", "Language_ID", std::to_string(GetParam())));
        StartFresh(dir.path().string());
        SetBackupFolder(dir.file("backups"));
        window = std::make_unique<TfMainFrm>();
        window->show();
    }
};

TEST_P(AccessKeys, EveryMenuAndWindowHasKeysOfItsOwnAndEveryShortcutIsOne)
{
    std::vector<std::string> faults;
    MenuFaults("menu bar", window->menuBar()->actions(), faults);
    std::map<QKeySequence, QString> shortcuts;
    for (QAction* a : window->findChildren<QAction*>())
        for (const QKeySequence& k : a->shortcuts())
            if (!shortcuts.emplace(k, a->text()).second)
                faults.push_back(k.toString().toStdString() + " is " + a->text().toStdString() + " and " +
                                 shortcuts[k].toStdString());
    for (Command c :
         {Command::ChannelInformation, Command::KeyFunction, Command::VoxFunction, Command::OptionalFunction,
          Command::ScanInformation, Command::DtmfInformation, Command::RadioInformation}) {
        window->ShowEditor(c);
        WindowFaults(window->Editor(c), faults);
    }
    TEmptySystemView noMachine;
    std::unique_ptr<QWidget> dialogs[] = {std::make_unique<TfFleetWrite>(),
                                          std::make_unique<TfBackups>(),
                                          std::make_unique<TfDoctor>(nullptr, &noMachine),
                                          std::make_unique<TfChangePreview>(std::vector<ContentChange>{}),
                                          std::make_unique<TfWriteRadio>(),
                                          std::make_unique<TfReadRadio>(),
                                          std::make_unique<TfSetPort>(),
                                          std::make_unique<TfSetLanguage>(),
                                          std::make_unique<TfModel>(),
                                          std::make_unique<TfFrmAbout>()};
    for (auto& dialog : dialogs)
        WindowFaults(dialog.get(), faults);
    window->ImportPath(dir.write("far.csv", "Location,Frequency\n1,999.0\n"), Command::ImportCsv, false);
    WindowFaults(window->findChild<QDialog*>("fImportReport"), faults);
    OnNextDialog<QFileDialog>([&faults](QFileDialog* dialog) {
        EXPECT_NE(dialog->findChild<QCheckBox*>(), nullptr) << "no Keep the locations box";
        WindowFaults(dialog, faults, false);
        dialog->reject();
    });
    window->RunCommand(Command::ImportCsv);
    std::string listed;
    for (const std::string& f : faults)
        listed += "\n  " + f;
    EXPECT_TRUE(faults.empty()) << listed;
}

TEST_P(AccessKeys, SelectAllTakesEveryChannelAndFillDownNamesTheColumnItFills)
{
    TfChsInfo* grid = window->ChannelEditor();
    grid->SelectChannels({2});
    window->EditAction(Command::SelectAllChannels)->trigger();
    std::vector<int> all(static_cast<size_t>(ALL.ChannelCount));
    std::iota(all.begin(), all.end(), 1);
    EXPECT_EQ(grid->SelectedChannels(), all);
    const bool chinese = GetParam() == 1;
    QAction* fill = window->EditAction(Command::FillDown);
    grid->gvChs->setCurrentCell(3, grid->ColumnOfField(2));
    EXPECT_EQ(fill->text().toStdString(), chinese ? "向下填充 接收频率(&F)" : "&Fill Down RX Frequency");
    EXPECT_TRUE(fill->isEnabled());
    grid->gvChs->setCurrentCell(3, grid->ColumnOfField(6));
    EXPECT_EQ(fill->text().toStdString(), chinese ? "向下填充 发射功率(&F)" : "&Fill Down TX Power");
    grid->gvChs->setCurrentCell(3, grid->ColumnOfField(1));
    EXPECT_EQ(fill->text().toStdString(), chinese ? "向下填充(&F)" : "&Fill Down");
    EXPECT_FALSE(fill->isEnabled()) << "the channel number is no column to fill";
}

TEST_P(AccessKeys, TheGridNamesCellsByChannelColumnAndValueAndItsListsByTheirColumn)
{
    const bool chinese = GetParam() == 1;
    InitChannel(3, "446.00625");
    TfChsInfo* grid = window->ChannelEditor();
    grid->FillAllRows();
    const int rx = grid->ColumnOfField(2);
    const int tone = grid->ColumnOfField(4);
    auto name = [grid](int row, int column) {
        return grid->gvChs->item(row, column)->data(Qt::AccessibleTextRole).toString().toStdString();
    };
    EXPECT_EQ(name(2, rx), chinese ? "信道 3，接收频率，446.00625" : "Channel 3, RX Frequency, 446.00625");
    EXPECT_EQ(name(3, rx), chinese ? "信道 4，接收频率，空" : "Channel 4, RX Frequency, empty");
    EXPECT_EQ(name(2, grid->ColumnOfField(1)), chinese ? "信道 3" : "Channel 3");
    // A value picked from a list is heard at once, in the list's words.
    grid->gvChsMouseDown(2, grid->ColumnOfField(6));
    grid->cxPwrv->setCurrentIndex(0);
    grid->ComBoxSetData(grid->cxPwrv);
    EXPECT_EQ(name(2, grid->ColumnOfField(6)), chinese ? "信道 3，发射功率，低" : "Channel 3, TX Power, Low");
    // Both tone columns share one list; it is labelled by the column it is open over.
    for (int column : {tone, grid->ColumnOfField(5)}) {
        grid->gvChsMouseDown(2, column);
        const QLabel* label = nullptr;
        for (const QLabel* l : grid->gvChs->viewport()->findChildren<QLabel*>())
            if (l->buddy() == grid->cxDcts)
                label = l;
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), grid->ColumnTitle(column));
        EXPECT_EQ(grid->cxDcts->accessibleDescription().toStdString(), chinese ? "信道 3" : "Channel 3");
    }
    EXPECT_NE(grid->ColumnTitle(tone), grid->ColumnTitle(grid->ColumnOfField(5)));
    EXPECT_EQ(window->cxTree->accessibleName().toStdString(), chinese ? "对讲机内容" : "Radio Contents");
}

INSTANTIATE_TEST_SUITE_P(ShippedLanguages, AccessKeys, ::testing::Values(0, 1));
} // namespace
