// SPDX-License-Identifier: GPL-3.0-or-later
// Editing in the main window like a sheet: every change undone and redone,
// Modified following the saved state, the clipboard and the channel items
// of the Edit menu.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>
#include <gtest/gtest.h>
#include <iostream>

#include "TestSupport.h"
#include "app/ui/MainFrm.h"
#include "app/ui/ModelDlg.h"
#include "core/State.h"
#include "editors/ui/ChsInfo.h"
#include "editors/ui/DtmfFun.h"
#include "image/ChannelCodec.h"
#include "image/ChannelFields.h"
#include "image/DtmfDigits.h"
#include "image/SettingFields.h"
#include "settings/Language.h"
#include "ui/GuiTestSupport.h"
#include "ui/MainWindowFixture.h"

namespace {

class SheetEditing : public MainWindowFixture {
protected:
    TfChsInfo* Grid() { return window->ChannelEditor(); }
    QUndoStack* Stack() { return window->UndoStack(); }
    // Makes one change, then checks that undo and redo bring back the
    // bytes before and after it, and the windows with them.
    template <typename Change, typename Shown>
    void ExpectUndoable(const std::string& what, Change change, Shown shown)
    {
        const auto before = ALL.Image;
        const auto shownBefore = shown();
        change();
        const auto after = ALL.Image;
        EXPECT_TRUE(after != before) << what << " changed nothing";
        Stack()->undo();
        EXPECT_TRUE(ALL.Image == before) << what;
        EXPECT_EQ(shown(), shownBefore) << what << ": the window does not show the undone value";
        Stack()->redo();
        EXPECT_TRUE(ALL.Image == after) << what;
    }
};

TEST_F(SheetEditing, EveryFieldOfEveryWindowUndoesAndRedoesItsBytes)
{
    const Command editors[] = {Command::KeyFunction,     Command::VoxFunction,     Command::OptionalFunction,
                               Command::ScanInformation, Command::DtmfInformation, Command::RadioInformation};
    for (Command command : editors) {
        window->ShowEditor(command);
        QWidget* editor = window->Editor(command);
        for (const SettingField* f : SettingFieldsOf(editor->objectName().toStdString())) {
            if (f->mapping == FieldMapping::NotStored)
                continue;
            if (auto* box = editor->findChild<QCheckBox*>(f->control)) {
                ExpectUndoable(
                    f->control, [box] { box->toggle(); }, [box] { return box->isChecked(); });
            } else if (auto* combo = editor->findChild<QComboBox*>(f->control); combo && combo->isEnabled()) {
                ExpectUndoable(
                    f->control, [combo] { combo->setCurrentIndex((combo->currentIndex() + 1) % combo->count()); },
                    [combo] { return combo->currentIndex(); });
            }
        }
    }
    auto* dtmf = static_cast<TfDtmfFun*>(window->Editor(Command::DtmfInformation));
    for (const DtmfStringField& f : DtmfStringFields()) {
        QLineEdit* edit = dtmf->Edit(f.control);
        const size_t steps = Stack()->count();
        ExpectUndoable(
            f.control, [edit] { QTest::keyClicks(edit, "12"); }, [edit] { return edit->text(); });
        EXPECT_EQ(Stack()->count(), static_cast<int>(steps) + 1) << "typed characters join one step";
    }

    window->ShowChannelEditor();
    TfChsInfo* grid = Grid();
    const int row = 2;
    for (const ChannelField& f : ChannelFields()) {
        const int column = grid->ColumnOfField(f.number);
        auto cell = [grid, row, column] { return grid->gvChs->item(row, column)->text(); };
        if (f.kind == ChannelFieldKind::RxFrequency || f.kind == ChannelFieldKind::TxFrequency) {
            const QString typed = f.kind == ChannelFieldKind::RxFrequency ? "431.0" : "432.0";
            ExpectUndoable(
                "field " + std::to_string(f.number),
                [grid, row, column, typed] { grid->gvChsSetForeText(row, column, typed); }, cell);
            continue;
        }
        grid->gvChsMouseDown(row, column);
        auto* combo = grid->findChild<QComboBox*>(f.comboName);
        ExpectUndoable(
            "field " + std::to_string(f.number),
            [grid, combo, &f] {
                if (combo == grid->cxDcts)
                    combo->setEditText(f.kind == ChannelFieldKind::RxTone ? "88.5" : "D023N");
                else
                    combo->setCurrentIndex((combo->currentIndex() + 1) % combo->count());
                grid->ComBoxSetData(combo);
            },
            cell);
    }
    EXPECT_EQ(window->EditAction(Command::Undo)->text().toStdString(), "&Undo PTT ID of channel 3");
    // Ctrl+Z typed in a code field undoes the document, not the field alone.
    QLineEdit* code = dtmf->Edit(DtmfStringFields().front().control);
    const auto beforeTyping = ALL.Image;
    const QString textBefore = code->text();
    QTest::keyClicks(code, "9");
    QTest::keyClick(code, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(ALL.Image == beforeTyping);
    EXPECT_EQ(code->text(), textBefore);
}

TEST_F(SheetEditing, StepsAreNamedInTheLanguageShownNowAndASideKeyByItsKey)
{
    Grid()->gvChsSetForeText(5, Grid()->ColumnOfField(2), "431.0");
    window->ShowEditor(Command::KeyFunction);
    auto* longPress = window->Editor(Command::KeyFunction)->findChild<QComboBox*>("cxKeyL2");
    longPress->setCurrentIndex((longPress->currentIndex() + 1) % longPress->count());
    EXPECT_EQ(window->EditAction(Command::Undo)->text().toStdString(), "&Undo Key - 2: Long Press");

    // Another language after both steps were made: they read in it.
    dir.write("Deutsch.Ini",
              "[Sheet]\nRedoNamed=Wiederholen %1\nChannelChange=%1 von Kanal %2\n"
              "[fChsInfo]\nColShow.2=080@Empfangs|frequenz\n[fKeyFun]\nL2.Caption=Taste 2\nL4.Caption=Lang:\n");
    ALL.LanguageName = "Deutsch";
    ALL.LanguageId = 1;
    Stack()->undo();
    EXPECT_EQ(window->EditAction(Command::Redo)->text().toStdString(), "Wiederholen Taste 2: Lang");
    Stack()->undo();
    EXPECT_EQ(window->EditAction(Command::Redo)->text().toStdString(), "Wiederholen Empfangs frequenz von Kanal 6");
}

TEST_F(SheetEditing, ModifiedFollowsTheSavedStateAndANewDocumentForgetsTheSteps)
{
    EXPECT_FALSE(ALL.Modified);
    Grid()->gvChsSetForeText(0, 1, "446.0");
    EXPECT_TRUE(ALL.Modified);
    window->RunCommand(Command::Undo);
    EXPECT_FALSE(ALL.Modified) << "back to the state the document started in";
    window->RunCommand(Command::Redo);
    EXPECT_TRUE(ALL.Modified);

    window->FileName = dir.file("saved.dat");
    window->RunCommand(Command::Save);
    EXPECT_FALSE(ALL.Modified);
    window->RunCommand(Command::Undo);
    EXPECT_TRUE(ALL.Modified) << "the saved file holds the channel";
    window->RunCommand(Command::Redo);
    EXPECT_FALSE(ALL.Modified);

    Grid()->gvChsSetForeText(1, 1, "447.0");
    messages.answers = {kMsgNo}; // do not save before opening
    OnNextDialog<QFileDialog>([this](QFileDialog* dialog) {
        dialog->selectFile(QString::fromStdString(dir.file("saved.dat")));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    window->RunCommand(Command::Open);
    EXPECT_EQ(Stack()->count(), 0) << "an opened document starts a new history";
    EXPECT_FALSE(ALL.Modified);

    Grid()->gvChsSetForeText(1, 1, "447.0");
    messages.answers = {kMsgNo}; // do not save before the new document
    window->RunCommand(Command::New);
    EXPECT_EQ(Stack()->count(), 0);
    EXPECT_FALSE(ALL.Modified);
    EXPECT_FALSE(window->EditAction(Command::Undo)->isEnabled());

    Grid()->gvChsSetForeText(1, 1, "447.0");
    messages.answers = {kMsgYes, kMsgNo}; // clear the data, do not save
    ASSERT_TRUE(window->ApplyModelChoice({ALL.ModelName, "134 - 174MHz"}));
    EXPECT_EQ(Stack()->count(), 0) << "a model change starts a new history";
    EXPECT_FALSE(ALL.Modified);
}

TEST_F(SheetEditing, CopiedChannelsPasteBackInOneStepWithinAFrame)
{
    for (int n = 1; n <= 16; ++n)
        InitChannel(n, std::to_string(400 + n) + ".0");
    EncodeChannelField(2, 4, "67.0");
    const auto filled = ALL.Image;
    Grid()->FillAllRows();
    std::vector<int> all;
    for (int n = 1; n <= 16; ++n)
        all.push_back(n);
    Grid()->SelectChannels(all);
    window->EditAction(Command::CopyChannels)->trigger();
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith("No.\tRX Frequency\tTX Frequency\tQT/DQT Dec\t")) << copied.toStdString();
    window->EditAction(Command::ClearChannels)->trigger();
    EXPECT_FALSE(DecodeChannel(16, Channel));

    Grid()->SelectChannels({1});
    QElapsedTimer timer;
    timer.start();
    window->EditAction(Command::PasteChannels)->trigger();
    const qint64 pasteNs = timer.nsecsElapsed();
    EXPECT_EQ(ALL.Image, filled);
    EXPECT_EQ(Grid()->gvChs->item(1, 3)->text(), "67.0");
    timer.restart();
    window->RunCommand(Command::Undo);
    const qint64 undoNs = timer.nsecsElapsed();
    EXPECT_FALSE(DecodeChannel(1, Channel)) << "the paste is undone whole";
    std::cout << "paste of 16 rows: " << pasteNs / 1000 << " us, its undo: " << undoNs / 1000 << " us\n";
    EXPECT_TRUE(messages.shown.empty());

    QGuiApplication::clipboard()->setText("446.1\n\nnot a number\n446.2\n");
    Grid()->gvChs->setCurrentCell(3, 1);
    window->EditAction(Command::PasteChannels)->trigger();
    EXPECT_EQ(Grid()->gvChs->item(3, 1)->text(), "446.10000");
    EXPECT_EQ(Grid()->gvChs->item(5, 1)->text(), "446.20000");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("Line 3"), std::string::npos) << messages.shown[0].text;
}

// Ctrl+V in a cell editor that a click opened pastes the rows; a refused
// line leaves its channel whole, and every value stored otherwise than it
// was pasted is named with its line.
TEST_F(SheetEditing, RowsPasteFromAnOpenCellEditorAndEveryChangedValueIsNamed)
{
    InitChannel(1, "446.0");
    EncodeChannelField(1, 3, "446.5");
    Grid()->FillAllRows();
    QGuiApplication::clipboard()->setText(
        "No.\tRX Frequency\tTX Frequency\tQT/DQT Dec\n"
        "1\t446.1\tabc\t\n"
        "2\t446.77777\t\t+88.5\n"
        "3\t446.2\t\t777.7\n"
        "4\t446.3\t\t.5\n");
    Grid()->gvChsMouseDown(0, 1);
    auto* edit = Grid()->gvChs->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    // Ctrl is let go on the grid: the editor is gone by then, and a Ctrl
    // left held would reach the next test's clicks.
    QTest::keyPress(edit, Qt::Key_V, Qt::ControlModifier);
    QTest::keyRelease(Grid()->gvChs, Qt::Key_Control);
    QCoreApplication::processEvents();
    EXPECT_EQ(Grid()->gvChs->item(0, 1)->text(), "446.00000");
    EXPECT_EQ(Grid()->gvChs->item(0, 2)->text(), "446.50000");
    const QString tones[] = {"88.5", "290.0", "30.0"};
    for (int row = 1; row <= 3; ++row)
        EXPECT_EQ(Grid()->gvChs->item(row, 3)->text(), tones[row - 1]) << row;
    EXPECT_EQ(Grid()->gvChs->item(1, 1)->text(), "446.77500");
    ASSERT_EQ(messages.shown.size(), 1u);
    const std::string& text = messages.shown[0].text;
    for (const char* named : {"Line 2: ", "Line 3: 446.77777 was stored as 446.77500",
                              "Line 4: 777.7 was stored as 290.0", "Line 5: .5 was stored as 30.0"})
        EXPECT_NE(text.find(named), std::string::npos) << named << " in " << text;
    EXPECT_EQ(text.find("+88.5"), std::string::npos) << text;
}

TEST_F(SheetEditing, ChannelItemsAreEachOneStepAndCarryTheCurrentChannel)
{
    for (int n = 1; n <= 4; ++n)
        InitChannel(n, std::to_string(440 - n) + ".0");
    Grid()->FillAllRows();
    ALL.CurrentChannel = 3;
    Grid()->SelectChannels({2, 3});
    window->EditAction(Command::MoveChannelsUp)->trigger();
    EXPECT_EQ(ALL.CurrentChannel, 2);
    EXPECT_EQ(Grid()->SelectedChannels(), (std::vector<int>{1, 2}));
    EXPECT_EQ(Grid()->gvChs->item(0, 1)->text(), "438.00000");
    EXPECT_EQ(window->cxTree->currentItem()->text(0), "No. -  2");

    for (Command command : {Command::MoveChannelsDown, Command::SortChannels, Command::FillDown, Command::InsertChannel,
                            Command::ClearChannels}) {
        Grid()->SelectChannels({1, 2, 3});
        const auto before = ALL.Image;
        const int steps = Stack()->count();
        window->EditAction(command)->trigger();
        EXPECT_NE(ALL.Image, before) << static_cast<int>(command);
        EXPECT_EQ(Stack()->count(), steps + 1) << static_cast<int>(command);
        window->RunCommand(Command::Undo);
        EXPECT_EQ(ALL.Image, before) << static_cast<int>(command);
        window->RunCommand(Command::Redo);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SheetEditing, EditingKeysBelongToTheTextBeingEditedAndCtrlXExitsOtherwise)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    InitChannel(1, "446.0");
    Grid()->FillAllRows();
    Grid()->gvChsMouseDown(0, 1);
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(edit, nullptr);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(edit->text().isEmpty()) << "Delete and Ctrl+X cut the text";
    EXPECT_TRUE(DecodeChannel(1, Channel)) << "not the channel";
    EXPECT_TRUE(messages.shown.empty()) << "no Exit while a text is being edited";
    QTest::keyClick(edit, Qt::Key_Escape);

    QTest::keyClick(Grid()->gvChs, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_FALSE(DecodeChannel(1, Channel));
    EXPECT_TRUE(DecodeChannel(2, Channel)) << "Ctrl+Down moves the channel";
    QTest::keyClick(Grid()->gvChs, Qt::Key_Delete);
    EXPECT_FALSE(DecodeChannel(2, Channel)) << "Delete clears the channel it moved with";

    QTest::keyClick(Grid()->gvChs, Qt::Key_X, Qt::ControlModifier);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, Language.ExitProgram);
}

} // namespace
