// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a format says after reading a file's bytes into the document: taken,
// or why not. Every file format is a pair of functions, DocumentTo<Format>
// (the document's bytes) and <Format>ToDocument (bytes into the document,
// giving this report). Formats never show a message, touch a window or write
// a file: the command that chose the file does that with the report.
#include <string>

#include "settings/Language.h"

struct FormatReport {
    // The message-table entry that says why the bytes were refused; null
    // when they were taken.
    std::string TLanguage::*refusal = nullptr;

    bool Ok() const { return refusal == nullptr; }
};
