// SPDX-License-Identifier: GPL-3.0-or-later
// The channel grid's typing: which keys the frequency and tone editors take,
// and storing a typed frequency.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QTableWidget>

#include "core/State.h"
#include "document/DocumentChange.h"
#include "editors/ui/ChsInfo.h"
#include "image/ChannelCodec.h"

namespace {
// Only typed characters are filtered; navigation keys, Escape and Tab keep
// their meaning, Backspace and Enter pass as control characters.
bool IsTypedCharacter(const QKeyEvent* event)
{
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7f;
}
}

bool TfChsInfo::FilterTypedKey(QObject* target, QKeyEvent* event, QStringView alsoAllowed)
{
    if (!IsTypedCharacter(event))
        return false;
    const QChar ch = event->text().at(0);
    if (ch == ',') {
        QKeyEvent point(event->type(), Qt::Key_Period, event->modifiers(), QStringLiteral("."));
        QCoreApplication::sendEvent(target, &point);
        return true;
    }
    return !(ch.isDigit() || ch == '.' || alsoAllowed.contains(ch));
}

bool TfChsInfo::gvChsKeyPress(QObject* target, QKeyEvent* event)
{
    if (target == gvChs && OpenComboByKey(event))
        return true;
    if (target == gvChs && IsTypedCharacter(event)) {
        // Keys only reach the grid itself while no editor is open: on a
        // read-only cell they would start a jump by first letter.
        const QTableWidgetItem* cell = gvChs->currentItem();
        if (!cell || !(cell->flags() & Qt::ItemIsEditable))
            return true;
    }
    return FilterTypedKey(target, event, {});
}

void TfChsInfo::gvChsSetForeText(int row, int column, const QString& text)
{
    ALL.Modified = true;
    QTableWidgetItem* cell = Cell(row, column);
    if (!cell)
        return;
    const int n = ChannelOfRow(row);
    const int field = ColumnField(column);
    const QChar kind = ColumnKind(column);
    if (kind != 'R' && kind != 'T')
        return;
    TDocumentChange change(CellChangeName(row, column));
    if (text.trimmed().isEmpty()) {
        cell->setText(QString());
        if (kind == 'R') {
            ClearChannel(n);
            FillRow(n);
        } else {
            EncodeChannelField(n, field, std::string());
        }
        return;
    }
    const std::string checked = CheckFrequencyText(text.toStdString());
    cell->setText(QString::fromStdString(checked));
    if (kind == 'R' && !ChannelExists(row)) {
        InitChannel(n, checked);
        FillRow(n);
    } else {
        EncodeChannelField(n, field, checked);
    }
}
