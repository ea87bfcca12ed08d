// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/DocumentFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <span>
#include <vector>

#include "base/AtomicFile.h"
#include "base/Utf8Path.h"
#include "core/State.h"
#include "document/DocumentView.h"
#include "image/Image.h"
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

std::span<const uint8_t> AsBytes(const std::string& bytes)
{
    return {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
}
}

std::optional<std::string> ReadFileBounded(const std::string& path, size_t limit, bool wholeOnly, int& err)
{
    std::error_code ec;
    const std::filesystem::path file = PathFromUtf8(path);
    if (std::filesystem::is_directory(std::filesystem::status(file, ec))) {
        err = EISDIR;
        return std::nullopt;
    }
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        err = errno ? errno : ENOENT;
        return std::nullopt;
    }
    // One byte past the limit tells a file that holds more.
    const size_t wanted = wholeOnly ? limit + 1 : limit;
    std::string bytes;
    char chunk[65536];
    while (bytes.size() < wanted) {
        const size_t asked = std::min(sizeof chunk, wanted - bytes.size());
        in.read(chunk, static_cast<std::streamsize>(asked));
        const size_t got = static_cast<size_t>(in.gcount());
        bytes.append(chunk, got);
        if (got < asked)
            break;
    }
    err = in.bad() ? (errno ? errno : EIO) : 0;
    if (!err && bytes.size() > limit)
        err = EFBIG;
    if (err)
        return std::nullopt;
    return bytes;
}

ReadResult OpenDocumentFile(std::string& fileName, FileHeaderTexts* header)
{
    int err = 0;
    // A data file is never longer; what follows is not needed.
    std::optional<std::string> bytes = ReadFileBounded(fileName, kDataFileSize, false, err);
    ReadResult result = ReadResult::Ok;
    if (!bytes) {
        ReportFileError(Language.FileOpenError, fileName, std::strerror(err));
        result = ReadResult::CannotOpen;
    } else if (FormatReport report = DataFileToDocument(AsBytes(*bytes), header); !report.Ok()) {
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
