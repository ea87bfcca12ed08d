// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/formats/CsvText.h"

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlankRow(const std::vector<std::string>& fields)
{
    return fields.size() == 1 && fields[0].empty();
}
}

CsvParse ParseCsv(std::string_view text)
{
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    CsvParse parse;
    CsvRow row{1, {}};
    std::string field;
    bool quoted = false;
    int line = 1;
    int quoteLine = 0;
    auto endRow = [&] {
        row.fields.push_back(std::move(field));
        field.clear();
        if (!IsBlankRow(row.fields))
            parse.rows.push_back(std::move(row));
        row = CsvRow{line, {}};
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                if (c == '\n')
                    ++line;
                field += c;
            }
            continue;
        }
        switch (c) {
        case '"':
            quoted = true;
            quoteLine = line;
            break;
        case ',':
            row.fields.push_back(std::move(field));
            field.clear();
            break;
        case '\r':
            if (i + 1 < text.size() && text[i + 1] == '\n')
                break; // the LF ends the row
            [[fallthrough]];
        case '\n':
            ++line;
            endRow();
            break;
        default:
            field += c;
        }
    }
    if (quoted) {
        parse.unclosedQuoteLine = quoteLine;
        return parse;
    }
    if (!field.empty() || !row.fields.empty())
        endRow();
    return parse;
}

std::string CsvField(const std::string& field)
{
    if (field.find_first_of(",\"\r\n") == std::string::npos)
        return field;
    std::string out = "\"";
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

std::string CsvLine(const std::vector<std::string>& fields)
{
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i)
        out += (i > 0 ? "," : "") + CsvField(fields[i]);
    return out + "\r\n";
}
