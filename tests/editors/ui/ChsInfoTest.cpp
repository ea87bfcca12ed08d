// SPDX-License-Identifier: GPL-3.0-or-later
// The channel information window, driven through its real grid and combos.
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStyle>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

#include "TestSupport.h"
#include "core/State.h"
#include "document/DocumentView.h"
#include "editors/ui/ChsInfo.h"
#include "image/ChannelCodec.h"
#include "image/ChannelFields.h"
#include "settings/Language.h"

namespace {

class ChsInfoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartFresh(dir.path().string());
        StartFirstDocument();
        form = std::make_unique<TfChsInfo>();
        form->show();
    }

    int Col(int field) const { return form->ColumnOfField(field); }
    QTableWidgetItem* Cell(int channel, int field) const { return form->gvChs->item(channel - 1, Col(field)); }
    QString Text(int channel, int field) const { return Cell(channel, field)->text(); }
    QPoint Center(int channel, int field) const
    {
        return form->gvChs->visualRect(form->gvChs->model()->index(channel - 1, Col(field))).center();
    }
    void Press(int channel, int field)
    {
        QTest::mouseClick(form->gvChs->viewport(), Qt::LeftButton, {}, Center(channel, field));
    }
    QLineEdit* Editor(int channel, int field) const
    {
        return qobject_cast<QLineEdit*>(form->gvChs->indexWidget(form->gvChs->model()->index(channel - 1, Col(field))));
    }
    // Clicks a frequency cell, types over its selected text and presses Enter.
    void TypeFrequency(int channel, int field, const QString& text)
    {
        Press(channel, field);
        QLineEdit* edit = Editor(channel, field);
        ASSERT_NE(edit, nullptr);
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        // The grid commits and closes its editor from a queued call.
        QCoreApplication::processEvents();
        ASSERT_EQ(Editor(channel, field), nullptr);
    }
    std::vector<QComboBox*> VisibleCombos() const
    {
        std::vector<QComboBox*> out;
        for (QComboBox* c : form->findChildren<QComboBox*>())
            if (c->isVisible())
                out.push_back(c);
        return out;
    }
    // Keys as a user gives them: to the window's focus widget, which needs
    // the window to be the active one.
    void Activate()
    {
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->gvChs->setFocus();
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : form->gvChs, key, modifiers);
    }
    void ExpectBytes(int offset, std::vector<uint8_t> bytes) const
    {
        for (size_t i = 0; i < bytes.size(); ++i)
            EXPECT_EQ(ALL.Image[offset + i], bytes[i]) << "offset 0x" << std::hex << offset + i;
    }

    TempDir dir;
    MessageRecorder messages;
    std::unique_ptr<TfChsInfo> form;
};

class CountingView : public TDocumentView {
public:
    void SelectChannelNode() override
    {
        ++calls;
        lastChannel = ALL.CurrentChannel;
    }
    int calls = 0;
    int lastChannel = 0;
};

TEST_F(ChsInfoTest, NewDocumentShowsSixteenEmptyRowsAndOnlyRxCellsOpenEditors)
{
    ASSERT_EQ(form->gvChs->rowCount(), 16);
    for (int n = 1; n <= 16; ++n) {
        EXPECT_EQ(Text(n, 1), QString::number(n));
        EXPECT_EQ(form->CellValue(n - 1, Col(1)), "0");
        for (int field : {2, 3, 4, 5, 6, 7, 8, 9, 10, 13})
            EXPECT_TRUE(Text(n, field).isEmpty()) << "channel " << n << " field " << field;
    }
    for (int field : {1, 3, 4, 5, 6, 7, 8, 9, 10, 13}) {
        Press(3, field);
        EXPECT_EQ(Editor(3, field), nullptr) << "field " << field;
        EXPECT_TRUE(VisibleCombos().empty()) << "field " << field;
    }
    Press(3, 2);
    EXPECT_NE(Editor(3, 2), nullptr);
    EXPECT_FALSE(ALL.Modified);
}

TEST_F(ChsInfoTest, TypingRxIntoEmptyChannelCreatesIt)
{
    TypeFrequency(3, 2, "446.00625");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(ALL.Modified);
    EXPECT_EQ(form->CellValue(2, Col(1)), "1");
    const std::vector<std::pair<int, QString>> expected = {{2, "446.00625"}, {3, "446.00625"}, {4, "None"}, {5, "None"},
                                                           {6, "High"},      {7, "Wide"},      {8, "Del"},  {9, "No"},
                                                           {10, "On"},       {13, "Off"}};
    for (const auto& [field, text] : expected)
        EXPECT_EQ(Text(3, field), text) << "field " << field;
    ExpectBytes(0x030, {0x25, 0x06, 0x60, 0x44, 0x25, 0x06, 0x60, 0x44, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(ALL.Image[0x03C] & 0x7F, 0x7F);
    // The TX cell of the new channel is editable now.
    Press(3, 3);
    EXPECT_NE(Editor(3, 3), nullptr);
}

TEST_F(ChsInfoTest, TypedFrequencyIsRasteredOrReplacedWithMessage)
{
    TypeFrequency(3, 2, "446.0070");
    EXPECT_EQ(Text(3, 2), "446.00625");
    EXPECT_TRUE(messages.shown.empty());
    ExpectBytes(0x030, {0x25, 0x06, 0x60, 0x44});

    TypeFrequency(3, 2, "700");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Caution");
    EXPECT_EQ(messages.shown[0].text, Language.ErrRange);
    EXPECT_EQ(Text(3, 2), "520.00000");
    ExpectBytes(0x030, {0x00, 0x00, 0x00, 0x52});
    // Changing RX of an existing channel leaves its TX alone.
    EXPECT_EQ(Text(3, 3), "446.00625");
    ExpectBytes(0x034, {0x25, 0x06, 0x60, 0x44});
}

TEST_F(ChsInfoTest, FrequencyKeysAreFiltered)
{
    Press(1, 2);
    QLineEdit* edit = Editor(1, 2);
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, "44x6,5 a");
    EXPECT_EQ(edit->text(), "446.5");
    edit->clear();
    QTest::keyClicks(edit, "446.0062500");
    EXPECT_EQ(edit->text(), "446.00625");
    QTest::keyClick(edit, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(Text(1, 2), "446.00625");

    // Typing into the selected RX cell opens its editor with that key.
    form->gvChs->setCurrentCell(4, Col(2));
    QTest::keyClicks(form->gvChs, ",");
    ASSERT_NE(Editor(5, 2), nullptr);
    EXPECT_EQ(Editor(5, 2)->text(), ".");
    form->FormDeactivate();

    // On a read-only cell typed characters do nothing, not even a jump to
    // the row whose number starts with them.
    form->gvChs->setCurrentCell(6, Col(1));
    QTest::keyClicks(form->gvChs, "1");
    EXPECT_EQ(form->gvChs->currentRow(), 6);
}

TEST_F(ChsInfoTest, EmptyingTxKeepsChannelEmptyingRxClearsRecord)
{
    TypeFrequency(2, 2, "145.5");
    EncodeChannelField(2, 4, "67.0");
    form->FillRow(2);
    const uint8_t flags = ALL.Image[0x02C];

    TypeFrequency(2, 3, "");
    EXPECT_TRUE(Text(2, 3).isEmpty());
    EXPECT_EQ(Text(2, 2), "145.50000");
    EXPECT_EQ(Text(2, 4), "67.0");
    ExpectBytes(0x020, {0x00, 0x00, 0x55, 0x14, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x06});
    EXPECT_EQ(ALL.Image[0x02C], flags);

    TypeFrequency(2, 2, "");
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(ALL.Image[0x020 + i], 0xFF) << "byte " << i;
    EXPECT_EQ(form->CellValue(1, Col(1)), "0");
    for (int field : {2, 3, 4, 6, 13})
        EXPECT_TRUE(Text(2, field).isEmpty()) << "field " << field;
    Press(2, 3);
    EXPECT_EQ(Editor(2, 3), nullptr);
}

TEST_F(ChsInfoTest, EachFixedListWritesItsFlag)
{
    TypeFrequency(1, 2, "146.52");
    struct Case {
        int field;
        uint8_t mask;
    };
    // A new channel has item 1 in every flag list; Up picks item 0.
    for (const Case& c : {Case{6, 0x01}, Case{7, 0x08}, Case{8, 0x10}, Case{9, 0x04}, Case{10, 0x02}}) {
        ALL.Modified = false;
        Press(1, c.field);
        std::vector<QComboBox*> shown = VisibleCombos();
        ASSERT_EQ(shown.size(), 1u) << "field " << c.field;
        EXPECT_EQ(shown[0]->objectName(), FindChannelField(c.field)->comboName);
        EXPECT_EQ(shown[0]->currentIndex(), 1);
        QTest::keyClick(shown[0], Qt::Key_Up);
        EXPECT_EQ(ALL.Image[0x01C] & c.mask, 0) << "field " << c.field;
        EXPECT_EQ(form->CellValue(0, Col(c.field)), "0");
        EXPECT_EQ(Text(1, c.field), FindChannelField(c.field)->items[0]);
        EXPECT_TRUE(ALL.Modified);
        QTest::keyClick(shown[0], Qt::Key_Return);
        EXPECT_TRUE(VisibleCombos().empty());
    }
    Press(1, 13);
    ASSERT_TRUE(form->cxPtts->isVisible());
    QTest::keyClick(form->cxPtts, Qt::Key_Down);
    EXPECT_EQ(Text(1, 13), "BOT");
    EXPECT_EQ((ALL.Image[0x01C] >> 5) & 3, 2);
    EXPECT_EQ(ALL.Image[0x01C] & 0x1F, 0x00); // the other flags stay as picked
}

TEST_F(ChsInfoTest, ToneComboNormalisesTypedTones)
{
    TypeFrequency(1, 2, "146.52");
    struct Case {
        int field;
        const char* typed;
        const char* shown;
        uint8_t low, high;
    };
    const Case cases[] = {
        {4, "88", "88.0", 0x80, 0x08},    {4, "D8", "D777N", 0x77, 0x87}, {5, "D023n", "D023N", 0x23, 0x80},
        {5, "8x8,5", "88.5", 0x85, 0x08}, {4, "", "None", 0xFF, 0xFF},
    };
    for (const Case& c : cases) {
        Press(1, c.field);
        ASSERT_TRUE(form->cxDcts->isVisible()) << c.typed;
        QLineEdit* edit = form->cxDcts->lineEdit();
        edit->clear();
        QTest::keyClicks(edit, c.typed);
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_FALSE(form->cxDcts->isVisible());
        EXPECT_EQ(Text(1, c.field), c.shown) << c.typed;
        const int at = c.field == 4 ? 0x018 : 0x01A;
        ExpectBytes(at, {c.low, c.high});
    }
    // The combo opens on the cell's current text.
    Press(1, 5);
    EXPECT_EQ(form->cxDcts->currentText(), "88.5");
    EXPECT_EQ(form->lNone->text(), "None");
    EXPECT_FALSE(form->lNone->isVisible());
}

TEST_F(ChsInfoTest, LayoutFollowsColumnList)
{
    EXPECT_EQ(form->windowTitle(), "Channel Information");
    EXPECT_EQ(form->FormSize(), QSize(765, 415));
    EXPECT_EQ(form->size(), QSize(765, 415));
    EXPECT_EQ(form->gvChs->horizontalHeader()->height(), 35);
    const std::vector<std::pair<QString, int>> columns = {
        {"No.", 45},        {"RX Frequency", 80}, {"TX Frequency", 80}, {"QT/DQT Dec", 65},
        {"QT/DQT Enc", 65}, {"TX Power", 65},     {"W/N", 65},          {"Scan Add", 65},
        {"Busy Lock", 75},  {"Epilogue", 65},     {"PTT ID", 65}};
    const int fields[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13};
    ASSERT_EQ(form->gvChs->columnCount(), 11);
    for (int c = 0; c < 11; ++c) {
        EXPECT_EQ(form->gvChs->horizontalHeaderItem(c)->text(), columns[c].first);
        EXPECT_EQ(form->gvChs->columnWidth(c), columns[c].second);
        EXPECT_EQ(form->ColumnField(c), fields[c]);
    }

    // A "|" in a title is a line break, and hidden entries take no column.
    form->ColShow->item(1, 1)->setText("100@RX|Freq");
    form->ColShow->item(12, 0)->setText("N-M-S");
    form->FormShow();
    EXPECT_EQ(form->gvChs->horizontalHeaderItem(Col(2))->text(), "RX\nFreq");
    EXPECT_EQ(form->gvChs->columnCount(), 10);
    EXPECT_EQ(Col(13), -1);
    EXPECT_EQ(form->FormSize(), QSize(765 + 20 - 65, 415));
}

TEST_F(ChsInfoTest, LargerFontsWidenColumnsAndRowsSoNothingIsCut)
{
    TypeFrequency(3, 2, "446.00625");
    for (const qreal factor : {1.5, 2.0, 3.0}) {
        QFont font = QApplication::font();
        font.setPointSizeF(font.pointSizeF() * factor);
        form->setFont(font);
        form->FormShow();
        const QFontMetrics fm(form->gvChs->font());
        // What the style takes from a cell, and from a title, before the text.
        const int cellMargins = 2 * (form->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) + 1;
        const int titleMargins = 2 * form->style()->pixelMetric(QStyle::PM_HeaderMargin);
        EXPECT_GE(form->gvChs->rowHeight(0), fm.height() + 2) << factor;
        EXPECT_GE(form->gvChs->horizontalHeader()->height(), 2 * fm.height() + titleMargins) << factor;
        for (const int field : {2, 3}) // RX and TX
            EXPECT_GT(form->gvChs->columnWidth(Col(field)), fm.horizontalAdvance(Text(3, 2)) + cellMargins) << factor;
        for (int c = 0; c < form->gvChs->columnCount(); ++c)
            for (const QString& word : form->gvChs->horizontalHeaderItem(c)->text().split(QRegularExpression("\\s+")))
                EXPECT_GT(form->gvChs->columnWidth(c), fm.horizontalAdvance(word) + titleMargins)
                    << factor << " " << word.toStdString();
        EXPECT_GE(form->FormSize().height(),
                  16 * form->gvChs->rowHeight(0) + form->gvChs->horizontalHeader()->height());
    }
}

TEST_F(ChsInfoTest, MenuKeyAndShiftF10OpenTheContextMenuAtTheCurrentCell)
{
    QAction copy("Copy");
    form->SetContextActions({&copy});
    form->gvChs->setCurrentCell(9, Col(4));
    const QPoint cell = form->gvChs->viewport()->mapToGlobal(
        form->gvChs->visualRect(form->gvChs->currentIndex()).center());
    Activate();
    for (const bool menuKey : {true, false}) {
        QPoint shownAt;
        QTimer::singleShot(0, [&shownAt] {
            if (QWidget* menu = QApplication::activePopupWidget()) {
                shownAt = menu->pos();
                menu->close();
            }
        });
        if (menuKey) {
            QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(1, 1), form->gvChs->mapToGlobal(QPoint(1, 1)));
            QApplication::sendEvent(form->gvChs, &event);
        } else {
            Key(Qt::Key_F10, Qt::ShiftModifier);
        }
        EXPECT_EQ(shownAt, cell) << (menuKey ? "menu key" : "Shift+F10");
    }
}

TEST_F(ChsInfoTest, OnlyChannelSixteenHasInfoBackground)
{
    const QColor info = form->palette().color(QPalette::ToolTipBase);
    for (int row = 0; row < 16; ++row)
        for (int c = 0; c < form->gvChs->columnCount(); ++c)
            EXPECT_EQ(form->gvChs->item(row, c)->background().color() == info, row == 15)
                << "row " << row << " col " << c;
}

TEST_F(ChsInfoTest, SelectingAnotherChannelMakesItCurrent)
{
    CountingView view;
    TDocumentView* previous = SetDocumentView(&view);
    // Showing the window puts the cursor on channel 1 without choosing it.
    ALL.CurrentChannel = 5;
    form->FormShow();
    EXPECT_EQ(ALL.CurrentChannel, 5);
    EXPECT_EQ(view.calls, 0);

    Press(6, 4);
    EXPECT_EQ(ALL.CurrentChannel, 6);
    EXPECT_EQ(view.calls, 1);
    EXPECT_EQ(view.lastChannel, 6);
    Press(6, 1);
    EXPECT_EQ(view.calls, 1);
    QTest::keyClick(form->gvChs, Qt::Key_Down);
    EXPECT_EQ(ALL.CurrentChannel, 7);
    EXPECT_EQ(view.calls, 2);
    // A press on the title row selects nothing.
    form->gvChs->setCurrentCell(6, Col(2));
    QTest::mouseClick(form->gvChs->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(150, 10));
    EXPECT_EQ(ALL.CurrentChannel, 7);
    EXPECT_EQ(form->gvChs->currentColumn(), Col(2));
    EXPECT_EQ(Editor(7, 2), nullptr);
    SetDocumentView(previous);
}

TEST_F(ChsInfoTest, FormDeactivateCommitsEditAndHidesCombos)
{
    Press(4, 2);
    QLineEdit* edit = Editor(4, 2);
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, "145.5");
    form->FormDeactivate();
    EXPECT_EQ(Editor(4, 2), nullptr);
    EXPECT_EQ(Text(4, 2), "145.50000");
    ExpectBytes(0x040, {0x00, 0x00, 0x55, 0x14});
    EXPECT_TRUE(ALL.Modified);

    Press(4, 6);
    ASSERT_TRUE(form->cxPwrv->isVisible());
    form->FormDeactivate();
    EXPECT_TRUE(VisibleCombos().empty());
    EXPECT_EQ(Text(4, 6), "High");
}

// Arrow keys, Tab and Enter move over every cell and change nothing: a
// drop-down takes Up and Down only after an explicit act (here F4).
TEST_F(ChsInfoTest, MovingWithKeysChangesNoValue)
{
    for (int n = 1; n <= 16; ++n)
        InitChannel(n, "446.00625");
    form->FillAllRows();
    ALL.Modified = false;
    const auto before = ALL.Image;
    Activate();
    form->gvChs->setCurrentCell(0, 0);
    const int rows = form->gvChs->rowCount(), columns = form->gvChs->columnCount();
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            ASSERT_EQ(form->gvChs->currentRow(), row);
            ASSERT_EQ(form->gvChs->currentColumn(), column);
            // Down then Up (Up then Down on the last row) comes back here.
            Key(row + 1 < rows ? Qt::Key_Down : Qt::Key_Up);
            Key(row + 1 < rows ? Qt::Key_Up : Qt::Key_Down);
            Key(Qt::Key_Return);
            if (row + 1 < rows || column + 1 < columns)
                Key(column + 1 < columns ? Qt::Key_Right : Qt::Key_Tab);
        }
    }
    EXPECT_EQ(ALL.Image, before);
    EXPECT_FALSE(ALL.Modified);
    EXPECT_TRUE(VisibleCombos().empty());

    form->gvChs->setCurrentCell(0, Col(13));
    Key(Qt::Key_F4);
    ASSERT_TRUE(form->cxPtts->isVisible());
    form->cxPtts->hidePopup();
    Key(Qt::Key_Down);
    EXPECT_EQ(Text(1, 13), "BOT");
    EXPECT_TRUE(ALL.Modified);
}

// A click on a drop-down cell makes exactly that cell and its channel
// current, and Enter in the drop-down leaves the cursor there.
TEST_F(ChsInfoTest, ClickingADropDownKeepsTheClickedCellCurrent)
{
    CountingView view;
    TDocumentView* previous = SetDocumentView(&view);
    for (int n = 1; n <= 16; ++n)
        InitChannel(n, "446.00625");
    form->FillAllRows();
    Activate();
    for (int channel : {2, 16}) {
        for (int field : {4, 6, 13}) {
            Press(channel, field);
            EXPECT_EQ(form->gvChs->currentRow(), channel - 1) << "field " << field;
            EXPECT_EQ(form->gvChs->currentColumn(), Col(field)) << "field " << field;
            EXPECT_EQ(ALL.CurrentChannel, channel) << "field " << field;
            EXPECT_EQ(view.lastChannel, channel) << "field " << field;
            ASSERT_EQ(VisibleCombos().size(), 1u);
            Key(Qt::Key_Return);
            EXPECT_EQ(form->gvChs->currentRow(), channel - 1) << "field " << field;
            EXPECT_EQ(form->gvChs->currentColumn(), Col(field)) << "field " << field;
        }
    }
    SetDocumentView(previous);
}

// A tone typed into the list is checked and stored when the list is left
// by a click elsewhere and when the window is deactivated.
TEST_F(ChsInfoTest, TypedToneIsStoredWhenLeft)
{
    InitChannel(1, "446.00625");
    InitChannel(2, "446.00625");
    form->FillAllRows();
    Activate();
    Press(1, 4);
    ASSERT_TRUE(form->cxDcts->isVisible());
    form->cxDcts->lineEdit()->clear();
    QTest::keyClicks(form->cxDcts->lineEdit(), "123.4");
    Press(2, 7);
    EXPECT_EQ(Text(1, 4), "123.4");
    ExpectBytes(0x018, {0x34, 0x12});
    EXPECT_EQ(form->gvChs->currentRow(), 1);

    Press(2, 5);
    form->cxDcts->lineEdit()->clear();
    QTest::keyClicks(form->cxDcts->lineEdit(), "D023n");
    form->FormDeactivate();
    EXPECT_EQ(Text(2, 5), "D023N");
    ExpectBytes(0x02A, {0x23, 0x80});
}

}
