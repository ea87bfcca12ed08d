// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/ui/ChsInfo.h"

#include <QApplication>
#include <QCloseEvent>
#include <QAbstractItemView>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/State.h"
#include "document/DocumentView.h"
#include "editors/ChannelColumns.h"
#include "editors/SheetTexts.h"
#include "image/ChannelCodec.h"
#include "image/ChannelFields.h"
#include "settings/ui/LocaliseForm.h"

namespace {

// Header item roles: the entry's key and its position in the column list.
constexpr int kKeyRole = Qt::UserRole;
constexpr int kFieldRole = Qt::UserRole + 1;

constexpr int kTitleHeight = 35;
constexpr int kRowHeight = 20;
constexpr int kFrequencyLength = 9;

Qt::Alignment AlignmentOf(QChar letter)
{
    if (letter == 'L')
        return Qt::AlignLeft | Qt::AlignVCenter;
    if (letter == 'R')
        return Qt::AlignRight | Qt::AlignVCenter;
    return Qt::AlignHCenter | Qt::AlignVCenter;
}

// The in-place editor of the RX and TX cells: a line edit of at most nine
// characters whose keys the window filters, and whose text reaches the
// window's commit handler instead of the model.
class TFrequencyDelegate : public QStyledItemDelegate {
public:
    explicit TFrequencyDelegate(TfChsInfo* form) : QStyledItemDelegate(form), form_(form) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        auto* edit = new QLineEdit(parent);
        edit->setMaxLength(kFrequencyLength);
        edit->setFrame(false);
        // Aligned as the cell, so the text stays where it was when editing starts.
        edit->setAlignment(Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()));
        edit->installEventFilter(form_);
        // Named as the cell it edits, for a screen reader.
        edit->setAccessibleName(form_->ColumnTitle(index.column()));
        edit->setAccessibleDescription(form_->RowName(index.row()));
        return edit;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* edit = static_cast<QLineEdit*>(editor);
        edit->setText(index.data(Qt::DisplayRole).toString());
        edit->selectAll();
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        // An editor that was only opened and left again changes nothing.
        const QString text = static_cast<QLineEdit*>(editor)->text();
        if (text != index.data(Qt::DisplayRole).toString())
            form_->gvChsSetForeText(index.row(), index.column(), text);
    }

private:
    TfChsInfo* form_;
};

// A cell of the grid as a screen reader names it, asked each time so that
// the name follows the value and the language.
class TChannelCell : public QTableWidgetItem {
public:
    explicit TChannelCell(const TfChsInfo* form) : form_(form) {}
    QVariant data(int role) const override
    {
        if (role == Qt::AccessibleTextRole && tableWidget())
            return form_->CellName(row(), column());
        return QTableWidgetItem::data(role);
    }

private:
    const TfChsInfo* form_;
};

}

TfChsInfo::TfChsInfo(QWidget* parent) : QWidget(parent)
{
    setObjectName("fChsInfo");
    setWindowTitle("Channel Information");

    gvChs = new QTableWidget(this);
    gvChs->setObjectName("gvChs");
    SetDesignName(gvChs, "Channels");
    gvChs->verticalHeader()->hide();
    gvChs->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // The row and title heights follow the font (BuildGrid).
    gvChs->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    gvChs->horizontalHeader()->setHighlightSections(false);
    // The title row takes no selection: a click on it must not move the
    // current cell, open an editor or change the current channel.
    gvChs->horizontalHeader()->setSectionsClickable(false);
    // Whole channels are selected, several at once for the sheet operations.
    gvChs->setSelectionMode(QAbstractItemView::ExtendedSelection);
    gvChs->setSelectionBehavior(QAbstractItemView::SelectRows);
    gvChs->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(gvChs, &QWidget::customContextMenuRequested, this, &TfChsInfo::ShowContextMenu);
    gvChs->setDragEnabled(false);
    // Mouse presses open the frequency editor themselves (gvChsMouseDown);
    // typed keys open it on an editable cell.
    gvChs->setEditTriggers(QAbstractItemView::AnyKeyPressed);
    gvChs->installEventFilter(this);

    auto* frequencyDelegate = new TFrequencyDelegate(this);
    gvChs->setItemDelegate(frequencyDelegate);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(gvChs);

    const auto columns = ChannelColumns();
    ColShow = new QTableWidget(static_cast<int>(columns.size()), 2, this);
    ColShow->setObjectName("ColShow");
    ColShow->setProperty(kNameValueListProperty, true);
    ColShow->hide();
    for (int i = 0; i < ColShow->rowCount(); ++i) {
        ColShow->setItem(i, 0, new QTableWidgetItem(columns[static_cast<size_t>(i)].key));
        ColShow->setItem(i, 1, new QTableWidgetItem(columns[static_cast<size_t>(i)].value));
    }

    lNone = new QLabel(this);
    lNone->setObjectName("lNone");
    lNone->hide();

    CreateCombos();
    comboTitle_ = new QLabel(gvChs->viewport());
    comboTitle_->hide();

    connect(gvChs, &QTableWidget::cellPressed, this, &TfChsInfo::gvChsMouseDown);
    connect(gvChs, &QTableWidget::currentCellChanged, this,
            [this](int row, int column, int, int) { gvChsSelectCell(row, column); });
    // Combos are laid over cells: any scrolling would leave them on the wrong cell.
    auto hide = [this] { HideCombos(); };
    connect(gvChs->verticalScrollBar(), &QScrollBar::valueChanged, this, hide);
    connect(gvChs->horizontalScrollBar(), &QScrollBar::valueChanged, this, hide);
    connect(gvChs->horizontalHeader(), &QHeaderView::sectionResized, this, hide);
}

void TfChsInfo::FormShow()
{
    formShown_ = true;
    Loading = true;

    // Relabels the caption, the ColShow values and the combo items before
    // anything below reads them.
    LocaliseForm(this, false);

    lNone->setText(cxDcts->itemText(0));
    BuildGrid();
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        frame->move(20, 20);
        connect(frame, &QMdiSubWindow::windowStateChanged, this, &TfChsInfo::FrameStateChanged, Qt::UniqueConnection);
    }
    resize(FormSize());
    FillAllRows();
    // The current cell is channel 1's RX cell; selecting it here is not a
    // user's choice of channel, so the loading mark keeps it from counting.
    gvChs->setCurrentCell(0, ColumnOfField(2));
    CurrentRow = 0;
    CurrentColumn = ColumnOfField(2);
    Loading = false;
}

QString TfChsInfo::DesignTitle(int field)
{
    const auto columns = ChannelColumns();
    QString value = field >= 1 && field <= static_cast<int>(columns.size())
                        ? QString(columns[static_cast<size_t>(field - 1)].value)
                        : QString();
    return value.mid(value.indexOf('@') + 1).replace('|', ' ');
}

TColShowEntry TfChsInfo::ColShowEntry(int index) const
{
    return {ColShow->item(index, 0)->text(), ColShow->item(index, 1)->text()};
}

void TfChsInfo::BuildGrid()
{
    // The grid is refilled from the image: nothing typed is kept.
    HideCombos(false);
    gvChs->clear();
    ShownColumns = 0;
    for (int i = 0; i < ColShow->rowCount(); ++i)
        if (ColShowEntry(i).Key.startsWith('S'))
            ++ShownColumns;
    const int channels = std::max(0, ALL.ChannelCount);
    gvChs->setColumnCount(ShownColumns);
    gvChs->setRowCount(channels);

    const QColor buttonFace = palette().color(QPalette::Button);
    const QColor infoBack = palette().color(QPalette::ToolTipBase);
    lineHeight_ = gvChs->fontMetrics().height();
    gvChs->verticalHeader()->setDefaultSectionSize(ScaledToFont(kRowHeight, lineHeight_));
    QHeaderView* titles = gvChs->horizontalHeader();
    // A title's longest line (a word, where the header wraps it) must fit too,
    // whatever the language file makes of it, and at a larger font its two
    // lines with the header's margins.
    const int titleMargins = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, titles) + 2;
    int titleHeight = ScaledToFont(kTitleHeight, lineHeight_);
    if (lineHeight_ > kDesignLineHeight)
        titleHeight = std::max(titleHeight, 2 * titles->fontMetrics().height() + titleMargins);
    titles->setFixedHeight(titleHeight);
    // And a typed column its longest frequency (fonts do not widen exactly
    // as they grow taller), inside the cell's text margins and grid line.
    const int frequencyWidth = gvChs->fontMetrics().horizontalAdvance(QStringLiteral("000.00000")) +
                               2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, gvChs) + 1) + 4;
    shownWidth_ = 0;
    int column = 0;
    for (int i = 0; i < ColShow->rowCount(); ++i) {
        const TColShowEntry entry = ColShowEntry(i);
        if (!entry.Key.startsWith('S'))
            continue;
        const int at = entry.Value.indexOf('@');
        const QString title = entry.Value.mid(at + 1).replace('|', '\n');
        int width = ScaledToFont(entry.Value.left(at).toInt(), lineHeight_);
        for (const QString& word : title.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts))
            width = std::max(width, titles->fontMetrics().horizontalAdvance(word) + titleMargins);
        const QChar kind = entry.Key.at(4);
        if (kind == 'R' || kind == 'T') // the RX and TX frequencies
            width = std::max(width, frequencyWidth);

        auto* header = new QTableWidgetItem(title);
        header->setTextAlignment(Qt::Alignment(Qt::AlignCenter) | Qt::Alignment(Qt::TextWordWrap));
        header->setData(kKeyRole, entry.Key);
        header->setData(kFieldRole, i + 1);
        header->setData(Qt::AccessibleTextRole, entry.Value.mid(at + 1).replace('|', ' '));
        gvChs->setHorizontalHeaderItem(column, header);
        gvChs->setColumnWidth(column, width);
        shownWidth_ += width;

        for (int row = 0; row < channels; ++row) {
            auto* cell = new TChannelCell(this);
            cell->setTextAlignment(AlignmentOf(entry.Key.at(2)));
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (kind == 'R')
                flags |= Qt::ItemIsEditable;
            cell->setFlags(flags);
            if (kind == 'N') {
                cell->setBackground(buttonFace);
                cell->setText(QString::number(row + 1));
                cell->setData(kValueRole, QStringLiteral("0"));
            }
            if ((row + 1) % 16 == 0)
                cell->setBackground(infoBack);
            gvChs->setItem(row, column, cell);
        }
        ++column;
    }
    // The rows' titles, which a screen reader gives with each cell; the
    // channel number column shows them to the eye.
    for (int row = 0; row < channels; ++row) {
        auto* title = new QTableWidgetItem(QString::number(row + 1));
        title->setData(Qt::AccessibleTextRole, RowName(row));
        gvChs->setVerticalHeaderItem(row, title);
    }
}

QSize TfChsInfo::FormSize() const
{
    return QSize(shownWidth_ + ScaledToFont(30, lineHeight_),
                 ScaledToFont(15, lineHeight_) + ScaledToFont(25, lineHeight_) * std::max(0, ALL.ChannelCount));
}

void TfChsInfo::FillRow(int channel)
{
    const int row = channel - 1;
    if (row < 0 || row >= gvChs->rowCount())
        return;
    const bool exists = DecodeChannel(channel, Channel);
    for (int column = 0; column < gvChs->columnCount(); ++column) {
        QTableWidgetItem* cell = Cell(row, column);
        const QChar kind = ColumnKind(column);
        if (kind == 'N') {
            cell->setData(kValueRole, exists ? QStringLiteral("1") : QStringLiteral("0"));
            continue;
        }
        if (kind == 'T') {
            Qt::ItemFlags flags = cell->flags();
            cell->setFlags(exists ? flags | Qt::ItemIsEditable : flags & ~Qt::ItemIsEditable);
        }
        QString display;
        QString value;
        if (exists) {
            const int field = ColumnField(column);
            const ChannelField* info = FindChannelField(field);
            if (info) {
                display = QString::fromStdString(ChannelFieldText(*info, Channel));
                if (info->member) {
                    // Option lists show the (possibly localised) combo item.
                    const int index = Channel.*(info->member);
                    value = QString::number(index);
                    if (QComboBox* combo = ComboOfField(field))
                        display = combo->itemText(index);
                } else if (display.isEmpty() && *info->comboName != '\0') {
                    display = lNone->text(); // a tone column without tone
                }
            }
        }
        cell->setText(display);
        cell->setData(kValueRole, value);
    }
}

void TfChsInfo::FillAllRows()
{
    gvChs->setUpdatesEnabled(false);
    for (int n = 1; n <= gvChs->rowCount(); ++n)
        FillRow(n);
    gvChs->setUpdatesEnabled(true);
}

QTableWidgetItem* TfChsInfo::Cell(int row, int column) const
{
    return gvChs->item(row, column);
}

int TfChsInfo::ColumnField(int column) const
{
    const QTableWidgetItem* header = gvChs->horizontalHeaderItem(column);
    return header ? header->data(kFieldRole).toInt() : 0;
}

QChar TfChsInfo::ColumnKind(int column) const
{
    const QTableWidgetItem* header = gvChs->horizontalHeaderItem(column);
    const QString key = header ? header->data(kKeyRole).toString() : QString();
    return key.size() >= 5 ? key.at(4) : QChar();
}

int TfChsInfo::ColumnOfField(int field) const
{
    for (int column = 0; column < gvChs->columnCount(); ++column)
        if (ColumnField(column) == field)
            return column;
    return -1;
}

QString TfChsInfo::CellValue(int row, int column) const
{
    const QTableWidgetItem* cell = Cell(row, column);
    return cell ? cell->data(kValueRole).toString() : QString();
}

QString TfChsInfo::ColumnTitle(int column) const
{
    const QTableWidgetItem* header = gvChs->horizontalHeaderItem(column);
    return header ? header->text().replace('\n', ' ') : QString();
}

QString TfChsInfo::RowName(int row) const
{
    return QString::fromStdString(SheetText("RowName", {std::to_string(ChannelOfRow(row))}));
}

QString TfChsInfo::CellName(int row, int column) const
{
    const QTableWidgetItem* cell = Cell(row, column);
    if (!cell || ColumnKind(column) == 'N')
        return RowName(row);
    const std::string channel = std::to_string(ChannelOfRow(row));
    const std::string title = ColumnTitle(column).toStdString();
    const QString value = cell->text();
    return QString::fromStdString(value.isEmpty() ? SheetText("CellEmpty", {channel, title})
                                                  : SheetText("CellName", {channel, title, value.toStdString()}));
}

int TfChsInfo::ChannelOfRow(int row) const
{
    const QTableWidgetItem* cell = Cell(row, ColumnOfField(1));
    return cell ? cell->text().toInt() : row + 1;
}

bool TfChsInfo::ChannelExists(int row) const
{
    return CellValue(row, ColumnOfField(1)) == "1";
}

void TfChsInfo::TakeChannel(int row)
{
    const int n = ChannelOfRow(row);
    if (n != ALL.CurrentChannel) {
        ALL.CurrentChannel = n;
        DocumentView().SelectChannelNode();
    }
}

void TfChsInfo::gvChsMouseDown(int row, int column)
{
    if (row < 0 || column < 0)
        return;
    TakeChannel(row);
    // A click that extends the selection, or opens the context menu, edits
    // nothing.
    if ((QApplication::keyboardModifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) ||
        (QApplication::mouseButtons() & Qt::RightButton))
        return;
    const QChar kind = ColumnKind(column);
    if (kind == 'R' || (kind == 'T' && ChannelExists(row))) {
        HideCombos();
        gvChs->edit(gvChs->model()->index(row, column));
        return;
    }
    PlaceCombo(row, column);
}

void TfChsInfo::gvChsSelectCell(int row, int column)
{
    if (row < 0 || column < 0)
        return;
    CurrentRow = row;
    CurrentColumn = column;
    if (Loading)
        return;
    // Moving onto a cell only selects it: its combo waits for an explicit
    // act, so keys moving over the grid never reach a value.
    HideCombos();
    TakeChannel(row);
}

void TfChsInfo::FormDeactivate()
{
    HideCombos();
    // An open in-place editor is the index widget of the current cell.
    QWidget* editor = gvChs->indexWidget(gvChs->currentIndex());
    if (!editor)
        return;
    QAbstractItemDelegate* delegate = gvChs->itemDelegateForIndex(gvChs->currentIndex());
    emit delegate->commitData(editor);
    emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool TfChsInfo::eventFilter(QObject* watched, QEvent* event)
{
    // The menu key (which Qt turns into a keyboard context menu event) and
    // Shift+F10 open the context menu at the current cell, not at the mouse.
    if (watched == gvChs && event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        ShowContextMenuAtCurrentCell();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == gvChs && key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            ShowContextMenuAtCurrentCell();
            return true;
        }
        const bool cellEditor = qobject_cast<QLineEdit*>(watched) && watched->parent() == gvChs->viewport();
        // Rows on the clipboard are pasted as rows from an open cell editor
        // too: the editor would take them as one value of its cell.
        if ((cellEditor || ComboOf(watched)) && key->matches(QKeySequence::Paste) && ClipboardHoldsRows()) {
            PasteChannels();
            return true;
        }
        if (watched == gvChs || cellEditor)
            return gvChsKeyPress(watched, key);
        if (QComboBox* combo = ComboOf(watched))
            return ComBoxKeyPress(combo, key);
    }
    if (event->type() == QEvent::FocusOut) {
        auto* focus = static_cast<QFocusEvent*>(event);
        QComboBox* combo = ComboOf(watched);
        // The focus going into the combo's own list is no leaving.
        QWidget* now = QApplication::focusWidget();
        const bool intoList = combo && now && (now == combo->view() || combo->view()->isAncestorOf(now));
        if (combo && focus->reason() != Qt::PopupFocusReason && !intoList && !combo->isAncestorOf(now))
            ComBoxExit(combo);
    }
    return QWidget::eventFilter(watched, event);
}

void TfChsInfo::showEvent(QShowEvent* event)
{
    if (!formShown_)
        FormShow();
    QWidget::showEvent(event);
}

void TfChsInfo::FrameStateChanged(Qt::WindowStates before, Qt::WindowStates now)
{
    // Inside the main window the frame, not this widget, is what the user
    // activates and leaves.
    if ((before & Qt::WindowActive) && !(now & Qt::WindowActive))
        FormDeactivate();
}

void TfChsInfo::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        FormDeactivate();
    QWidget::changeEvent(event);
}

void TfChsInfo::closeEvent(QCloseEvent* event)
{
    // FormClose: a closed window is destroyed, never kept hidden.
    setAttribute(Qt::WA_DeleteOnClose);
    event->accept();
}
