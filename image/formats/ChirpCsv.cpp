// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/formats/ChirpCsv.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

#include "base/NumberText.h"
#include "core/State.h"
#include "image/ChannelCodec.h"
#include "image/ChannelFields.h"
#include "image/formats/ChirpColumns.h"
#include "image/formats/CsvText.h"
#include "image/formats/InterchangeTexts.h"

namespace {
std::vector<std::string> Header()
{
    const auto names = ChirpColumnNames();
    return {names.begin(), names.end()};
}

int ChannelSlots()
{
    return std::clamp(ALL.ChannelCount, 0, kMaxChannels);
}

int FieldNumberOf(ChannelFieldKind kind)
{
    for (const ChannelField& f : ChannelFields())
        if (f.kind == kind)
            return f.number;
    return 0;
}

// Stores a channel read from a row as the grid stores typed values: a new
// channel on RX, then TX, the tones and the list items.
void StoreChannel(int n, const ChirpChannel& c)
{
    InitChannel(n, c.rx);
    EncodeChannelField(n, FieldNumberOf(ChannelFieldKind::TxFrequency), c.tx);
    EncodeChannelField(n, FieldNumberOf(ChannelFieldKind::RxTone), c.rxTone);
    EncodeChannelField(n, FieldNumberOf(ChannelFieldKind::TxTone), c.txTone);
    for (const auto& [field, item] : c.items)
        EncodeChannelField(n, field, std::to_string(item));
}

struct Planned {
    int channel;
    int line;
    ChirpChannel values;
};
} // namespace

std::string ChannelsToChirpCsv(std::span<const int> channels, std::vector<std::string>* notes)
{
    std::string text = CsvLine(Header());
    TChannel c;
    for (int index : channels) {
        const int n = index + 1;
        if (n > ChannelSlots() || !DecodeChannel(n, c))
            continue;
        const bool txInBand = c.TxFreq >= ALL.BandLow && c.TxFreq <= ALL.BandHigh;
        text += CsvLine(ChannelToChirpRow(n, c, txInBand));
        if (notes)
            for (const std::string& tone : ChirpUnlistedTones(c))
                notes->push_back(InterchangeText("ExportUnlisted", {std::to_string(n), tone}));
    }
    return text;
}

std::string DocumentToChirpCsv(std::vector<std::string>* notes)
{
    std::vector<int> all(static_cast<size_t>(ChannelSlots()));
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<int>(i);
    return ChannelsToChirpCsv(all, notes);
}

ChirpCsvReport ChirpCsvToDocument(std::string_view text, const ChirpCsvOptions& options)
{
    ChirpCsvReport report;
    // Windows tools save "Unicode" text as UTF-16: its byte-order mark, or
    // the zero high bytes of ASCII letters, tell it from UTF-8.
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF") ||
        (text.size() >= 2 && (text[0] == '\0') != (text[1] == '\0'))) {
        report.failure = InterchangeText("FileUtf16");
        return report;
    }
    const CsvParse parse = ParseCsv(text);
    if (parse.unclosedQuoteLine > 0) {
        report.failure = InterchangeText("FileQuote", {std::to_string(parse.unclosedQuoteLine)});
        return report;
    }
    if (parse.rows.empty()) {
        report.failure = InterchangeText("FileEmpty");
        return report;
    }
    std::map<std::string, size_t> columns;
    const std::vector<std::string>& header = parse.rows.front().fields;
    for (size_t i = 0; i < header.size(); ++i)
        columns.emplace(TrimBlanks(header[i]), i);
    if (!columns.contains("Location") || !columns.contains("Frequency")) {
        report.failure = InterchangeText("FileNoHeader");
        return report;
    }

    const int slots = ChannelSlots();
    // Locations counted from 0 (as CHIRP's own lists of some radios are)
    // put the row of Location 0 into channel 1.
    bool fromZero = false;
    for (size_t r = 1; r < parse.rows.size(); ++r)
        if (parse.rows[r].fields.size() > columns["Location"] &&
            ParseInteger(parse.rows[r].fields[columns["Location"]]) == 0)
            fromZero = true;

    std::vector<Planned> plan;
    bool hasText = false;
    int next = std::max(0, options.firstChannel) + 1;
    for (size_t r = 1; r < parse.rows.size(); ++r) {
        const CsvRow& row = parse.rows[r];
        auto refuse = [&](std::string reason) { report.refused.push_back({row.line, std::move(reason)}); };
        if (row.fields.size() < header.size()) {
            refuse(InterchangeText("RowColumns"));
            continue;
        }
        auto field = [&](const char* column) {
            auto it = columns.find(column);
            return it == columns.end() ? std::string() : row.fields[it->second];
        };
        ChirpChannel values = ChannelFromChirp(field);
        hasText = hasText || values.hasText;
        if (!values.refusal.empty()) {
            refuse(values.refusal);
            continue;
        }
        int channel = 0;
        if (options.keepLocations) {
            const std::string location = TrimBlanks(field("Location"));
            std::optional<int> number = ParseInteger(location);
            if (!number) {
                refuse(InterchangeText("RowNumber", {location, "Location"}));
                continue;
            }
            channel = *number + (fromZero ? 1 : 0);
            if (channel < 1 || channel > slots) {
                refuse(InterchangeText("RowLocation", {location}));
                continue;
            }
            auto same = std::find_if(plan.begin(), plan.end(),
                                     [channel](const Planned& p) { return p.channel == channel; });
            if (same != plan.end()) {
                refuse(InterchangeText("RowSameLocation", {location, std::to_string(same->line)}));
                continue;
            }
        } else {
            if (next > slots) {
                refuse(InterchangeText("RowTooMany"));
                continue;
            }
            channel = next++;
        }
        plan.push_back({channel, row.line, std::move(values)});
    }
    if (hasText)
        report.notes.push_back(InterchangeText("NoteNames"));

    // A file that gives nothing takes nothing away.
    if (plan.empty())
        return report;
    if (options.replaceChannels && !options.keepLocations) {
        TChannel c;
        for (int n = 1; n <= slots; ++n) {
            const bool filled = std::any_of(plan.begin(), plan.end(), [n](const Planned& p) { return p.channel == n; });
            if (!filled && DecodeChannel(n, c)) {
                ClearChannel(n);
                ALL.Modified = true;
            }
        }
    }
    for (const Planned& p : plan) {
        StoreChannel(p.channel, p.values);
        for (const std::string& change : p.values.changes)
            report.changed.push_back({p.line, change});
    }
    report.taken = static_cast<int>(plan.size());
    if (report.taken > 0)
        ALL.Modified = true;
    return report;
}

namespace {
// A line quotes the file's cells, which may hold any byte: control bytes
// (a NUL, an escape sequence) are shown as \xNN, never sent to a terminal.
std::string Printable(const std::string& line)
{
    std::string shown;
    for (unsigned char c : line) {
        if (c < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            shown += escape;
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

std::vector<std::string> Lines(const std::vector<ChirpCsvRowRefusal>& rows)
{
    std::vector<std::string> lines;
    for (const ChirpCsvRowRefusal& r : rows)
        lines.push_back(Printable(InterchangeText("RowLine", {std::to_string(r.line), r.reason})));
    return lines;
}
} // namespace

std::vector<std::string> RefusalLines(const ChirpCsvReport& report)
{
    return Lines(report.refused);
}

std::vector<std::string> ChangeLines(const ChirpCsvReport& report)
{
    return Lines(report.changed);
}
