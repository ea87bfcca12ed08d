// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reverse of the dump: JSON text as `qv300-cli dump` prints it into the
// document. Every key is optional; a key whose value the document already
// shows leaves its bytes alone, so loading a dump onto the file it came
// from changes nothing.
#include <string>
#include <string_view>

#include "image/formats/DataFile.h"

struct JsonLoadReport {
    // Empty when the text was taken; otherwise the first fault, naming its
    // JSON path (channels[3].power), in the current language. A text with a
    // fault changes nothing.
    std::string error;
    FileHeaderTexts header; // the header codes to write with the document

    bool Ok() const { return error.empty(); }
};

// Applies the JSON text to the document held in the global state. `header`
// of the report starts from the document's own codes.
JsonLoadReport JsonToDocument(std::string_view text);
