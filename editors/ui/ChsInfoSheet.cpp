// SPDX-License-Identifier: GPL-3.0-or-later
// The channel grid edited like a sheet: a selection of whole channels, the
// clipboard, and the channel operations on the selection. The operations
// themselves work on the image; the window only picks the channels and
// shows the result.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QItemSelection>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTableWidget>
#include <algorithm>
#include <numeric>

#include "core/State.h"
#include "document/DocumentChange.h"
#include "document/DocumentView.h"
#include "editors/ChannelSheet.h"
#include "editors/SheetTexts.h"
#include "editors/ui/ChsInfo.h"
#include "image/ChannelFields.h"
#include "image/formats/ChirpCsv.h"
#include "settings/Language.h"
#include "settings/MsgBox.h"

namespace {
constexpr char kCsvMime[] = "text/csv";
}

std::vector<int> TfChsInfo::SelectedChannels() const
{
    std::vector<int> channels;
    for (const QModelIndex& index : gvChs->selectionModel()->selectedRows())
        channels.push_back(ChannelOfRow(index.row()));
    if (channels.empty() && gvChs->currentRow() >= 0)
        channels.push_back(ChannelOfRow(gvChs->currentRow()));
    std::sort(channels.begin(), channels.end());
    return channels;
}

void TfChsInfo::SelectChannels(const std::vector<int>& channels)
{
    const bool wasLoading = Loading;
    Loading = true;
    const int column = std::max(0, gvChs->currentColumn());
    if (ALL.CurrentChannel >= 1 && ALL.CurrentChannel <= gvChs->rowCount())
        gvChs->setCurrentCell(ALL.CurrentChannel - 1, column);
    QItemSelection rows;
    for (int n : channels)
        if (n >= 1 && n <= gvChs->rowCount())
            rows.select(gvChs->model()->index(n - 1, 0), gvChs->model()->index(n - 1, gvChs->columnCount() - 1));
    gvChs->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    Loading = wasLoading;
}

std::function<std::string()> TfChsInfo::CellChangeName(int row, int column) const
{
    return [field = ColumnField(column), channel = ChannelOfRow(row)] { return ChannelChangeName(field, channel); };
}

std::vector<SheetColumn> TfChsInfo::SheetColumns() const
{
    std::vector<SheetColumn> columns;
    for (int column = 0; column < gvChs->columnCount(); ++column) {
        SheetColumn c;
        c.field = ColumnField(column);
        c.titles = {gvChs->horizontalHeaderItem(column)->text().replace('\n', ' ').toStdString(),
                    DesignTitle(c.field).toStdString()};
        QComboBox* combo = ComboOfField(c.field);
        if (combo == cxDcts) {
            c.none = {lNone->text().toStdString(), kNoTone};
        } else if (combo) {
            for (int i = 0; i < combo->count(); ++i)
                c.items.push_back(combo->itemText(i).toStdString());
        }
        columns.push_back(std::move(c));
    }
    return columns;
}

void TfChsInfo::SetContextActions(const QList<QAction*>& actions)
{
    contextActions_ = actions;
}

void TfChsInfo::ShowContextMenu(const QPoint& at)
{
    if (contextActions_.isEmpty())
        return;
    QMenu menu(this);
    menu.addActions(contextActions_);
    menu.exec(gvChs->viewport()->mapToGlobal(at));
}

void TfChsInfo::ShowContextMenuAtCurrentCell()
{
    const QModelIndex current = gvChs->currentIndex();
    if (current.isValid())
        gvChs->scrollTo(current);
    const QRect cell = gvChs->visualRect(current);
    ShowContextMenu(cell.isValid() ? cell.center() : QPoint(0, 0));
}

void TfChsInfo::CopyChannels()
{
    FormDeactivate();
    const std::vector<int> channels = SelectedChannels();
    auto* mime = new QMimeData;
    mime->setText(QString::fromStdString(ChannelsToText(SheetColumns(), channels)));
    // The CHIRP CSV form of the same channels (counted from 0) goes beside
    // the text, for programs that read CHIRP's files.
    std::vector<int> indices;
    for (int channel : channels)
        indices.push_back(channel - 1);
    mime->setData(kCsvMime, QByteArray::fromStdString(ChannelsToChirpCsv(indices)));
    QGuiApplication::clipboard()->setMimeData(mime);
}

std::optional<std::string> TfChsInfo::PasteChirpCsv(const QByteArray& csv, int firstChannel)
{
    ChirpCsvOptions options;
    options.firstChannel = firstChannel - 1;
    const ChirpCsvReport csvReport = ChirpCsvToDocument(csv.toStdString(), options);
    // CSV that is no CHIRP channel list: the clipboard's text form is read.
    if (!csvReport.Ok())
        return std::nullopt;
    PasteReport report;
    report.taken = csvReport.taken;
    report.rows = csvReport.taken + static_cast<int>(csvReport.refused.size());
    for (const ChirpCsvRowRefusal& r : csvReport.refused)
        report.refused.push_back({r.line, r.reason});
    // What the import says about the values it changed belongs to the paste.
    std::string message = PasteReportText(report);
    for (const std::string& note : csvReport.notes)
        message += (message.empty() ? "" : "\n") + note;
    return message;
}

bool TfChsInfo::ClipboardHoldsRows() const
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime)
        return false;
    const QString text = mime->text().trimmed();
    return mime->hasFormat(kCsvMime) || text.contains('\t') || text.contains('\n');
}

void TfChsInfo::PasteChannels()
{
    FormDeactivate();
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || gvChs->currentRow() < 0)
        return;
    const int first = ChannelOfRow(gvChs->currentRow());
    std::string message;
    {
        TDocumentChange change([] { return SheetName("Paste"); });
        std::optional<std::string> csvMessage;
        const QString text = mime->text();
        if (mime->hasFormat(kCsvMime))
            csvMessage = PasteChirpCsv(mime->data(kCsvMime), first);
        else if (const QString head = text.section('\n', 0, 0); head.contains(',') && !head.contains('\t'))
            csvMessage = PasteChirpCsv(text.toUtf8(), first); // a CHIRP file opened in an editor and copied
        if (csvMessage)
            message = *csvMessage;
        else
            message = PasteReportText(PasteChannelText(text.toStdString(), SheetColumns(), first));
    }
    FillAllRows();
    if (!message.empty())
        MsgBox(Language.Caution, message, kMsgInformation);
}

void TfChsInfo::ChangeChannels(const char* nameKey, const std::function<std::vector<int>(std::vector<int>)>& operation)
{
    FormDeactivate();
    std::vector<int> selected;
    {
        TDocumentChange change([nameKey] { return SheetName(nameKey); });
        selected = operation(SelectedChannels());
    }
    FillAllRows();
    SelectChannels(selected);
    DocumentView().SelectChannelNode();
}

void TfChsInfo::ClearSelected()
{
    ChangeChannels("Clear", [](std::vector<int> channels) {
        ClearChannels(channels);
        return channels;
    });
}

void TfChsInfo::MoveSelected(int step)
{
    ChangeChannels(step < 0 ? "MoveUp" : "MoveDown", [step](std::vector<int> channels) {
        if (MoveChannels(channels, step))
            for (int& n : channels)
                n += step;
        return channels;
    });
}

void TfChsInfo::InsertChannel()
{
    bool inserted = true;
    ChangeChannels("InsertChannel", [&inserted](std::vector<int> channels) {
        inserted = !channels.empty() && InsertEmptyChannel(channels.front());
        return channels.empty() ? channels : std::vector<int>{channels.front()};
    });
    if (!inserted)
        MsgBox(Language.Caution, SheetText("NoFreeSlot"), kMsgInformation);
}

void TfChsInfo::FillDownSelected()
{
    const int field = ColumnField(gvChs->currentColumn());
    ChangeChannels("FillDown", [field](std::vector<int> channels) {
        FillDown(field, channels);
        return channels;
    });
}

QString TfChsInfo::FillDownColumnTitle() const
{
    const int column = gvChs->currentColumn();
    if (!FindChannelField(ColumnField(column)))
        return {};
    return gvChs->horizontalHeaderItem(column)->text().replace('\n', ' ');
}

void TfChsInfo::SelectAllChannels()
{
    std::vector<int> all(static_cast<size_t>(gvChs->rowCount()));
    std::iota(all.begin(), all.end(), 1);
    SelectChannels(all);
}

void TfChsInfo::SortSelected()
{
    const int count = gvChs->rowCount();
    ChangeChannels("Sort", [count](std::vector<int> channels) {
        if (channels.size() < 2) {
            channels.clear();
            for (int n = 1; n <= count; ++n)
                channels.push_back(n);
        }
        SortByRxFrequency(channels);
        return channels;
    });
}
