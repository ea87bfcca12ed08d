// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Comma-separated text as spreadsheets and CHIRP write it: fields may be
// quoted ("" inside quotes is one quote, and a quoted field may span lines),
// lines end in LF or CR LF, and a UTF-8 byte-order mark at the start is
// skipped.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct CsvRow {
    int line = 0; // line of the file the row starts on, from 1
    std::vector<std::string> fields;
};

struct CsvParse {
    std::vector<CsvRow> rows;  // blank lines left out
    int unclosedQuoteLine = 0; // the line of a quote never closed; 0 when none
};

CsvParse ParseCsv(std::string_view text);

// The field as it stands in a line: quoted, with its quotes doubled, when it
// holds a comma, a quote or a line break.
std::string CsvField(const std::string& field);
// One line of fields, each as CsvField gives it, ending in "\r\n".
std::string CsvLine(const std::vector<std::string>& fields);
