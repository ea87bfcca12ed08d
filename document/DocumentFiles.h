// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The document and the data file it is kept in: Open and Save as the File
// menu, the command line and the simulated radio do them. These read and
// write the file, call the data file format, show the messages and tell the
// main window once; the format itself only turns bytes into the document and
// back.
#include <cstddef>
#include <optional>
#include <string>

#include "image/formats/DataFile.h"

// The most an exchange file (CHIRP CSV, JSON) may hold: far more than any
// channel list or dump of this radio, and little enough to hold in memory.
inline constexpr size_t kMaxExchangeFileSize = size_t{16} << 20;

// The one way a file comes into memory: at most `limit` bytes, so neither a
// device that never ends (/dev/zero) nor a huge file fills the memory. With
// `wholeOnly` a file that holds more is refused (EFBIG, "File too large");
// without, the rest is left unread. A folder is refused (EISDIR). Returns
// nothing on failure, with the system's reason in `err`.
std::optional<std::string> ReadFileBounded(const std::string& path, size_t limit, bool wholeOnly, int& err);

enum class ReadResult { Ok, CannotOpen, WrongModel };

// Replaces the document with the data file `fileName`. On success Modified
// is cleared and the tree, the status line and the editors are refreshed.
// On failure the document is unchanged, `fileName` is emptied, a message is
// shown and the status line refreshed. `header`, when given, receives the
// header texts of an accepted file.
ReadResult OpenDocumentFile(std::string& fileName, FileHeaderTexts* header = nullptr);

// Writes the document to `fileName` through the one file writer, so a
// failure part-way leaves the previous file as it was. On failure a message
// with the path and the system's reason is shown, false is returned and the
// document is exactly as it was, Modified included. On success Modified is
// cleared and the image takes the FF pad the file holds after the model
// block, so the document is what the file holds.
bool SaveDocumentFile(const std::string& fileName);
