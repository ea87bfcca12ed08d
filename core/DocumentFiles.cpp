// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/DocumentFiles.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "core/DocumentView.h"
#include "core/State.h"
#include "image/Image.h"
#include "settings/AtomicFile.h"
#include "settings/Language.h"
#include "settings/MsgBox.h"

namespace {
// `what` "path": reason, and `after` on a line of its own when given.
void ReportFileError(const std::string& what, const std::string& path, const std::string& reason,
                     const std::string& after = {})
{
    std::string text = what + " \"" + path + "\": " + reason;
    if (!after.empty())
        text += "\n" + after;
    MsgBox(Language.Confirmation, text, kMsgInformation);
}

// The first `limit` bytes of a file (a data file is never longer; what
// follows is not needed), or nothing with the system's reason.
std::optional<std::vector<uint8_t>> ReadFileStart(const std::string& path, size_t limit, int& err)
{
    std::error_code ec;
    if (std::filesystem::is_directory(std::filesystem::status(path, ec))) {
        err = EISDIR;
        return std::nullopt;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        err = errno ? errno : ENOENT;
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(limit);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
    bytes.resize(static_cast<size_t>(std::max<std::streamsize>(0, in.gcount())));
    return bytes;
}
}

ReadResult OpenDocumentFile(std::string& fileName, FileHeaderTexts* header)
{
    int err = 0;
    std::optional<std::vector<uint8_t>> bytes = ReadFileStart(fileName, kDataFileSize, err);
    ReadResult result = ReadResult::Ok;
    if (!bytes) {
        ReportFileError(Language.FileOpenError, fileName, std::strerror(err));
        result = ReadResult::CannotOpen;
    } else if (FormatReport report = DataFileToDocument(*bytes, header); !report.Ok()) {
        MsgBox(Language.Confirmation, Language.*report.refusal, kMsgInformation);
        result = ReadResult::WrongModel;
    }
    if (result != ReadResult::Ok) {
        fileName.clear();
        DocumentView().UpdateStatus();
        return result;
    }
    DocumentView().BuildTree();
    DocumentView().UpdateStatus();
    DocumentView().RefreshEditors();
    // Cleared after the refresh, so whatever the editors store while they
    // are closed and opened again does not mark the opened file changed.
    ALL.Modified = false;
    return result;
}

bool SaveDocumentFile(const std::string& fileName)
{
    const std::vector<uint8_t> bytes = DocumentToDataFile();
    if (std::error_code written = ReplaceFileAtomically(fileName, bytes)) {
        ReportFileError(Language.FileCreateError, fileName, written.message(), Language.FileNotSaved);
        return false;
    }
    FillImage(kModelBlockPad, kModelBlockPadSize, 0xFF);
    ALL.Modified = false;
    return true;
}
