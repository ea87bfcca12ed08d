#pragma once
// The document as one JSON object, for `qv300-cli dump`.
#include <nlohmann/json.hpp>

#include "image/formats/DataFile.h"

// Dumps the document now held in the global state. `header` is the header
// of the file it came from, as stored.
nlohmann::ordered_json DumpDocument(const FileHeaderTexts& header);
