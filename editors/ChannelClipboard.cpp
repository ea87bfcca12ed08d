// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/ChannelClipboard.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include "base/NumberText.h"
#include "core/State.h"
#include "editors/SheetTexts.h"
#include "image/ChannelCodec.h"
#include "image/ChannelFields.h"
#include "settings/Language.h"
#include "settings/MsgBox.h"

namespace {
constexpr int kNumberField = 1;
constexpr int kRxField = 2;
constexpr size_t kReportedLines = 20;
constexpr size_t kQuotedLength = 24;

// A pasted text as a report quotes it: short, whatever was pasted.
std::string Quoted(const std::string& text)
{
    return text.size() <= kQuotedLength ? text : text.substr(0, kQuotedLength) + "...";
}

std::vector<std::string> SplitText(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        std::string part(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (!part.empty() && part.back() == '\r')
            part.pop_back();
        parts.push_back(std::move(part));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

std::string CellText(const SheetColumn& column, const ChannelField& field, const TChannel& c)
{
    if (field.member) {
        const size_t value = c.*(field.member);
        return value < column.items.size() ? column.items[value] : ChannelFieldText(field, c);
    }
    const std::string text = ChannelFieldText(field, c);
    return text.empty() && !column.none.empty() ? column.none.front() : text;
}

// A frequency as typing checks it; nothing, with the message typing would
// show as `reason`, when typing would warn about it.
std::optional<std::string> CheckedFrequency(const std::string& text, std::string& reason)
{
    if (!ParseNumber(text)) {
        reason = SheetText("NotFrequency", {Quoted(text)});
        return std::nullopt;
    }
    std::string warning;
    MsgBoxHandler previous = SetMsgBoxHandler([&warning](const std::string&, const std::string& message, int) {
        warning = message;
        return kMsgOk;
    });
    std::string checked = CheckFrequencyText(text);
    SetMsgBoxHandler(previous);
    if (!warning.empty()) {
        reason = text + ": " + warning;
        return std::nullopt;
    }
    return checked;
}

std::optional<std::string> CheckedTone(const SheetColumn& column, const std::string& text, std::string& reason)
{
    if (text.empty() || std::find(column.none.begin(), column.none.end(), text) != column.none.end())
        return std::string();
    // A number is brought into the tone range as typing does. The tone
    // check takes a text without a leading digit ("+88.5", ".5", "-5") for
    // a code, so it is given the number in a form that has one.
    if (std::optional<double> hz = ParseNumber(text))
        return CheckToneText(*hz > 0 ? FormatFixed(std::min(*hz, 1e6), 6) : "0");
    // A code must be a code already, not the fallback typing puts in its place.
    const std::string checked = CheckToneText(text);
    if (UpperAscii(text) == checked)
        return checked;
    reason = SheetText("NotTone", {Quoted(text)});
    return std::nullopt;
}

std::optional<std::string> CheckedItem(const SheetColumn& column, const ChannelField& field, const std::string& text,
                                       std::string& reason)
{
    for (size_t i = 0; i < column.items.size(); ++i)
        if (column.items[i] == text)
            return std::to_string(i);
    for (size_t i = 0; i < field.items.size(); ++i)
        if (field.items[i] == text)
            return std::to_string(i);
    reason = SheetText("NotItem", {Quoted(text), column.titles.empty() ? std::string() : column.titles.front()});
    return std::nullopt;
}

// True when `stored` holds another number than `pasted` (by more than
// `tolerance`), which the paste must then say.
bool NumberChanged(const std::string& pasted, const std::string& stored, double tolerance)
{
    const std::optional<double> a = ParseNumber(pasted);
    const std::optional<double> b = ParseNumber(stored);
    return a && b && !(std::fabs(*a - *b) <= tolerance);
}

// The values of one row by field number, or nothing with the reason; the
// numbers stored otherwise than pasted go to `changes`.
using RowValues = std::map<int, std::string>;

std::optional<RowValues> CheckRow(const std::vector<std::string>& cells,
                                  const std::vector<const SheetColumn*>& columnOfCell, std::string& reason,
                                  std::vector<PasteChange>& changes)
{
    RowValues values;
    for (size_t i = 0; i < cells.size() && i < columnOfCell.size(); ++i) {
        const SheetColumn* column = columnOfCell[i];
        const ChannelField* field = column ? FindChannelField(column->field) : nullptr;
        if (!field)
            continue;
        const std::string text = TrimBlanks(cells[i]);
        std::optional<std::string> value;
        switch (field->kind) {
        case ChannelFieldKind::RxFrequency:
        case ChannelFieldKind::TxFrequency:
            value = text.empty() ? std::optional<std::string>("") : CheckedFrequency(text, reason);
            // Half a hertz: only a value the raster moved counts.
            if (value && NumberChanged(text, *value, 5e-7))
                changes.push_back({0, text, *value});
            break;
        case ChannelFieldKind::RxTone:
        case ChannelFieldKind::TxTone:
            value = CheckedTone(*column, text, reason);
            if (value && NumberChanged(text, *value, 1e-6))
                changes.push_back({0, text, *value});
            break;
        case ChannelFieldKind::Flag:
        case ChannelFieldKind::PttId:
            if (text.empty())
                continue; // the cell of an empty channel
            value = CheckedItem(*column, *field, text, reason);
            break;
        }
        if (!value)
            return std::nullopt;
        values[field->number] = *value;
    }
    return values;
}

// As typing does: an RX frequency into an empty channel makes a new
// channel, an empty one deletes the channel; then the other fields.
void StoreRow(int n, const RowValues& values)
{
    const std::string& rx = values.at(kRxField);
    if (rx.empty()) {
        ClearChannel(n);
        return;
    }
    TChannel c;
    if (DecodeChannel(n, c))
        EncodeChannelField(n, kRxField, rx);
    else
        InitChannel(n, rx);
    for (const auto& [field, value] : values)
        if (field != kRxField)
            EncodeChannelField(n, field, value);
}

const SheetColumn* ColumnTitled(std::span<const SheetColumn> columns, const std::string& title)
{
    for (const SheetColumn& column : columns)
        if (std::find(column.titles.begin(), column.titles.end(), title) != column.titles.end())
            return &column;
    return nullptr;
}

const SheetColumn* ColumnOfField(std::span<const SheetColumn> columns, int field)
{
    for (const SheetColumn& column : columns)
        if (column.field == field)
            return &column;
    return nullptr;
}
} // namespace

std::string ChannelsToText(std::span<const SheetColumn> columns, std::span<const int> channels)
{
    std::string text;
    for (const SheetColumn& column : columns) {
        text += column.titles.empty() ? std::string() : column.titles.front();
        text += &column == &columns.back() ? "\n" : "\t";
    }
    for (int n : channels) {
        TChannel c;
        const bool exists = DecodeChannel(n, c);
        for (const SheetColumn& column : columns) {
            const ChannelField* field = FindChannelField(column.field);
            if (column.field == kNumberField)
                text += std::to_string(n);
            else if (exists && field)
                text += CellText(column, *field, c);
            text += &column == &columns.back() ? "\n" : "\t";
        }
    }
    return text;
}

PasteReport PasteChannelText(std::string_view text, std::span<const SheetColumn> columns, int firstChannel)
{
    PasteReport report;
    std::vector<std::string> lines = SplitText(text, '\n');
    // Which column each cell goes to: from the title line, in the grid's
    // order for rows copied from a spreadsheet without their titles, or the
    // RX column alone for a list of frequencies.
    std::vector<const SheetColumn*> columnOfCell;
    size_t firstRow = 0;
    if (!lines.empty() && lines.front().find('\t') != std::string::npos) {
        for (const std::string& title : SplitText(lines.front(), '\t'))
            columnOfCell.push_back(ColumnTitled(columns, TrimBlanks(title)));
        firstRow = 1;
        if (std::none_of(columnOfCell.begin(), columnOfCell.end(), [](const SheetColumn* c) { return c; })) {
            columnOfCell.clear();
            for (const SheetColumn& column : columns)
                columnOfCell.push_back(&column);
            firstRow = 0;
        }
        const bool hasRx = std::any_of(columnOfCell.begin(), columnOfCell.end(),
                                       [](const SheetColumn* c) { return c && c->field == kRxField; });
        if (!hasRx) {
            report.problem = SheetText("NoRxColumn");
            return report;
        }
    } else {
        columnOfCell.push_back(ColumnOfField(columns, kRxField));
    }
    std::vector<size_t> rows; // indexes into `lines`
    for (size_t i = firstRow; i < lines.size(); ++i)
        if (!TrimBlanks(lines[i]).empty())
            rows.push_back(i);
    report.rows = static_cast<int>(rows.size());
    if (rows.empty()) {
        report.problem = SheetText("NothingToPaste");
        return report;
    }
    const int room = std::max(0, std::min(ALL.ChannelCount, kMaxChannels) - firstChannel + 1);
    if (report.rows > room) {
        const std::string question = SheetText(
            "TooManyRows", {std::to_string(report.rows), std::to_string(firstChannel), std::to_string(room)});
        if (room == 0 || MsgBox(Language.Confirmation, question, kMsgQuestion) != kMsgYes) {
            report.cancelled = true;
            return report;
        }
        rows.resize(static_cast<size_t>(room));
    }
    // Every row is checked before the first is stored.
    std::vector<std::pair<int, RowValues>> accepted;
    for (size_t r = 0; r < rows.size(); ++r) {
        std::string reason;
        std::vector<PasteChange> changes;
        const int line = static_cast<int>(rows[r]) + 1;
        std::optional<RowValues> values = CheckRow(SplitText(lines[rows[r]], '\t'), columnOfCell, reason, changes);
        if (values && values->count(kRxField)) {
            accepted.emplace_back(firstChannel + static_cast<int>(r), std::move(*values));
            for (PasteChange& change : changes) {
                change.line = line;
                report.changed.push_back(std::move(change));
            }
        } else
            report.refused.push_back({line, reason.empty() ? SheetText("NotFrequency", {""}) : reason});
    }
    for (const auto& [n, values] : accepted)
        StoreRow(n, values);
    report.taken = static_cast<int>(accepted.size());
    return report;
}

std::string PasteReportText(const PasteReport& report)
{
    if (!report.problem.empty())
        return report.problem;
    std::string text;
    if (!report.refused.empty()) {
        text = SheetText("PasteReport",
                         {std::to_string(report.taken), std::to_string(report.taken + report.refused.size())});
        for (size_t i = 0; i < report.refused.size() && i < kReportedLines; ++i)
            text += "\n" + SheetText("RowRefused", {std::to_string(report.refused[i].line), report.refused[i].reason});
        if (report.refused.size() > kReportedLines)
            text += "\n" + SheetText("MoreRefused", {std::to_string(report.refused.size() - kReportedLines)});
    }
    // Every one: at most four numbers of each of the channels.
    if (!report.changed.empty())
        text += (text.empty() ? "" : "\n") + SheetText("PasteChanged");
    for (const PasteChange& c : report.changed)
        text += "\n" + SheetText("ValueChanged", {std::to_string(c.line), Quoted(c.pasted), c.stored});
    return text;
}
