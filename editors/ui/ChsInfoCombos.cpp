// SPDX-License-Identifier: GPL-3.0-or-later
// The drop-down lists of the channel information window: one list per
// option field, laid over the current cell, and the editable tone list
// shared by both tone columns.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <map>
#include <string>

#include "core/State.h"
#include "document/DocumentChange.h"
#include "editors/ui/ChsInfo.h"
#include "image/ChannelCodec.h"
#include "image/ChannelFields.h"
#include "settings/ui/LocaliseForm.h"

void TfChsInfo::CreateCombos()
{
    // Fields that name the same list share it: both tone columns use one.
    std::map<std::string, QComboBox*> byName;
    for (const ChannelField& field : ChannelFields()) {
        if (*field.comboName == '\0')
            continue;
        QComboBox*& combo = byName[field.comboName];
        if (!combo) {
            const bool tone = field.kind == ChannelFieldKind::RxTone || field.kind == ChannelFieldKind::TxTone;
            combo = MakeCombo(field.number, tone);
        }
        combos_[field.number] = combo;
    }
    auto named = [&byName](const char* name) {
        auto it = byName.find(name);
        return it == byName.end() ? nullptr : it->second;
    };
    cxDcts = named("cxDcts");
    cxPwrv = named("cxPwrv");
    cxBand = named("cxBand");
    cxScan = named("cxScan");
    cxBclo = named("cxBclo");
    cxTail = named("cxTail");
    cxPtts = named("cxPtts");
}

QComboBox* TfChsInfo::MakeCombo(int field, bool editable)
{
    const ChannelField* info = FindChannelField(field);
    auto* combo = new QComboBox(gvChs->viewport());
    combo->setObjectName(info->comboName);
    combo->hide();
    if (editable) {
        combo->setEditable(true);
        // The typed text is committed as typed (after the tone check), so
        // nothing may complete it to a list item or add it to the list.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
        combo->addItem(kNoTone);
        SetTag(combo, kTagFirstItemOnly); // only the no-tone word is a word
        for (const std::string& tone : ToneList())
            combo->addItem(QString::fromStdString(tone));
        combo->lineEdit()->installEventFilter(this);
    } else {
        for (const char* item : info->items)
            combo->addItem(item);
    }
    combo->installEventFilter(this);
    connect(combo, &QComboBox::activated, this, [this, combo](int) { ComBoxSetData(combo); });
    return combo;
}

QComboBox* TfChsInfo::ComboOfField(int field) const
{
    auto it = combos_.find(field);
    return it == combos_.end() ? nullptr : it->second;
}

QComboBox* TfChsInfo::ComboOf(const QObject* watched) const
{
    for (const auto& [field, combo] : combos_)
        if (watched == combo || watched == combo->lineEdit())
            return combo;
    return nullptr;
}

void TfChsInfo::HideCombos(bool store)
{
    if (store)
        StoreTypedTone();
    // Cleared first: the focus leaving the tone list below must not store.
    comboRow_ = -1;
    comboColumn_ = -1;
    QWidget* focus = QApplication::focusWidget();
    for (const auto& [field, combo] : combos_) {
        if (focus && (focus == combo || combo->isAncestorOf(focus)))
            gvChs->setFocus(Qt::OtherFocusReason);
        combo->hide();
    }
}

bool TfChsInfo::PlaceCombo(int row, int column)
{
    QComboBox* combo = ComboOfField(ColumnField(column));
    if (combo && combo->isVisible() && comboRow_ == row && comboColumn_ == column)
        return true;
    HideCombos();
    if (!combo || !ChannelExists(row))
        return false;
    comboRow_ = row;
    comboColumn_ = column;

    const bool wasLoading = Loading;
    Loading = true;
    if (combo == cxDcts) {
        const QString text = gvChs->item(row, column)->text();
        combo->setCurrentIndex(combo->findText(text));
        combo->setEditText(text);
    } else {
        const QString value = CellValue(row, column);
        combo->setCurrentIndex(value.isEmpty() ? 0 : value.toInt());
    }
    Loading = wasLoading;

    // Named as the cell it is laid over: both tone columns share one list.
    combo->setAccessibleName(ColumnTitle(column));
    comboTitle_->setText(ColumnTitle(column));
    comboTitle_->setBuddy(combo);
    combo->setAccessibleDescription(RowName(row));
    const QRect cell = gvChs->visualRect(gvChs->model()->index(row, column));
    combo->setGeometry(cell.left() + 2, cell.top() + 2, gvChs->columnWidth(column), combo->sizeHint().height());
    combo->show();
    combo->raise();
    combo->setFocus(Qt::OtherFocusReason);
    return true;
}

bool TfChsInfo::OpenComboByKey(QKeyEvent* event)
{
    const int key = event->key();
    const bool alt = event->modifiers() & Qt::AltModifier;
    const bool popup = key == Qt::Key_F4 || key == Qt::Key_Space || (alt && (key == Qt::Key_Down || key == Qt::Key_Up));
    const QString text = event->text();
    const bool typed = !text.isEmpty() && text.at(0).unicode() > 0x20 && text.at(0).unicode() != 0x7f;
    if (!popup && !typed)
        return false;
    const int row = gvChs->currentRow();
    const int column = gvChs->currentColumn();
    if (!ComboOfField(ColumnField(column)))
        return false;
    if (!PlaceCombo(row, column))
        return true; // a channel without data has nothing to pick
    QComboBox* combo = ComboOfField(ColumnField(column));
    if (popup) {
        combo->showPopup();
    } else if (combo == cxDcts) {
        // Typing replaces the tone, as typing into a frequency cell does.
        combo->lineEdit()->selectAll();
        QCoreApplication::sendEvent(combo->lineEdit(), event);
    } else {
        QCoreApplication::sendEvent(combo, event); // picks by first letter
    }
    return true;
}

void TfChsInfo::StoreTypedTone()
{
    if (!cxDcts || !cxDcts->isVisible() || comboRow_ < 0 || Loading)
        return;
    const QTableWidgetItem* cell = gvChs->item(comboRow_, comboColumn_);
    if (cell && cxDcts->currentText() != cell->text())
        ComBoxSetData(cxDcts);
}

void TfChsInfo::ComBoxSetData(QComboBox* combo)
{
    if (Loading || comboRow_ < 0)
        return;
    const int field = ColumnField(comboColumn_);
    QTableWidgetItem* cell = gvChs->item(comboRow_, comboColumn_);
    if (!cell || ComboOfField(field) != combo)
        return;
    const int n = ChannelOfRow(comboRow_);
    TDocumentChange change(CellChangeName(comboRow_, comboColumn_));
    if (combo == cxDcts) {
        const QString typed = combo->currentText();
        QString tone = lNone->text();
        if (!typed.isEmpty() && typed != lNone->text())
            tone = QString::fromStdString(CheckToneText(typed.toStdString()));
        cell->setText(tone);
        Loading = true;
        combo->setEditText(tone);
        Loading = false;
        EncodeChannelField(n, field, tone == lNone->text() ? std::string() : tone.toStdString());
    } else {
        const QString value = QString::number(combo->currentIndex());
        cell->setData(kValueRole, value);
        cell->setText(combo->currentText());
        EncodeChannelField(n, field, value.toStdString());
    }
    ALL.Modified = true;
}

bool TfChsInfo::ComBoxKeyPress(QComboBox* combo, QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // In the tone list Enter confirms the typed text; a fixed list has
        // already committed its pick. The current cell stays where it is.
        HideCombos();
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        // Leaves the list without storing what was typed into it.
        HideCombos(false);
        return true;
    }
    if (combo != cxDcts)
        return false;
    return FilterTypedKey(combo->lineEdit(), event, u"DINdin");
}

void TfChsInfo::ComBoxExit(QComboBox* combo)
{
    // Leaving the tone list by a click elsewhere, by Tab or by switching
    // windows stores what was typed, as leaving a frequency cell does.
    if (combo == cxDcts)
        StoreTypedTone();
    combo->hide();
}
