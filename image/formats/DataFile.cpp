#include "image/formats/DataFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#if __has_include(<unistd.h>)
#include <unistd.h>
#define QV300_HAVE_FSYNC 1
#endif

#include "core/DocumentView.h"
#include "core/State.h"
#include "image/Image.h"
#include "settings/Language.h"
#include "settings/MsgBox.h"

namespace fs = std::filesystem;

namespace {
constexpr uint8_t kHeaderMark = 0x50; // 'P'
constexpr size_t kFileDataOffset = kFileFirstBlock * kBlockSize; // 0x010
constexpr size_t kFileDataSize = kFileBlockCount * kBlockSize;   // 448

void PutCode(FileHeader& header, size_t at, const std::string& text)
{
    std::string padded = text + "     ";
    for (size_t i = 0; i < 4; ++i)
        header[at + i] = static_cast<uint8_t>(padded[i]);
}

void ReportFileError(const std::string& what, const std::string& path, const std::string& reason)
{
    MsgBox(Language.Confirmation, what + " \"" + path + "\": " + reason, kMsgInformation);
}

std::string SystemReason(int err)
{
    return err ? std::strerror(err) : "unknown error";
}

// A name beside the target that no file has yet.
fs::path TemporaryBeside(const fs::path& target)
{
    std::random_device rd;
    std::mt19937 gen(rd());
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = target.parent_path() /
                             ("." + target.filename().string() + ".tmp" + std::to_string(gen() % 1000000));
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(candidate, ec)))
            return candidate;
    }
    return target.parent_path() / ("." + target.filename().string() + ".tmp");
}

// Writes bytes to `path` and makes sure they reached the disk. Returns 0 or
// the errno of the first failure.
int WriteWholeFile(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    errno = 0;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return errno ? errno : EIO;
    int err = 0;
    // One block at a time, the way the file is laid out.
    for (size_t at = 0; at < bytes.size() && !err; at += kBlockSize) {
        size_t n = std::min(kBlockSize, bytes.size() - at);
        if (std::fwrite(bytes.data() + at, 1, n, f) != n)
            err = errno ? errno : EIO;
    }
    if (!err && std::fflush(f) != 0)
        err = errno ? errno : EIO;
#ifdef QV300_HAVE_FSYNC
    if (!err && fsync(fileno(f)) != 0 && errno != EINVAL && errno != EROFS)
        err = errno;
#endif
    if (std::fclose(f) != 0 && !err)
        err = errno ? errno : EIO;
    return err;
}
}

FileHeader EncodeFileHeader(const std::string& modelCode, const std::string& familyCode, const std::string& areaCode)
{
    FileHeader header;
    header.fill(0xFF);
    header[0] = kHeaderMark;
    PutCode(header, 1, modelCode);
    PutCode(header, 5, familyCode);
    PutCode(header, 9, areaCode);
    return header;
}

FileHeaderTexts DecodeFileHeader(const FileHeader& header)
{
    auto text = [&](size_t at) { return std::string(reinterpret_cast<const char*>(header.data() + at), 4); };
    return {text(1), text(5), text(9)};
}

bool WriteDataFile(const std::string& fileName)
{
    FileHeader header = EncodeFileHeader(ALL.ModelCode, ALL.FamilyCode, ALL.AreaCode);
    FillImage(kModelBlockPad, 8, 0xFF);

    std::vector<uint8_t> bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), ALL.Image.begin() + kFileDataOffset,
                 ALL.Image.begin() + kFileDataOffset + kFileDataSize);

    std::error_code ec;
    fs::path target(fileName);
    // Saving through a symbolic link replaces the file it points to, not the link.
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec)
            target = resolved;
    }
    if (fs::is_directory(fs::status(target, ec))) {
        ReportFileError("Cannot create file", fileName, SystemReason(EISDIR));
        return false;
    }
    fs::path temporary = TemporaryBeside(target);
    int err = WriteWholeFile(temporary, bytes);
    if (!err) {
        // Keep the permissions of the file being replaced.
        auto old = fs::status(target, ec);
        if (!ec && fs::exists(old))
            fs::permissions(temporary, old.permissions(), fs::perm_options::replace, ec);
        fs::rename(temporary, target, ec);
        if (ec)
            err = ec.value();
    }
    if (err) {
        fs::remove(temporary, ec);
        ReportFileError("Cannot create file", fileName, SystemReason(err));
        return false;
    }
    ALL.Modified = false;
    return true;
}

ReadResult ReadDataFile(std::string& fileName, FileHeaderTexts* header)
{
    std::error_code ec;
    if (fs::is_directory(fs::status(fileName, ec))) {
        std::string path = fileName;
        fileName.clear();
        ReportFileError("Cannot open file", path, SystemReason(EISDIR));
        return ReadResult::CannotOpen;
    }
    errno = 0;
    std::ifstream in(fileName, std::ios::binary);
    if (!in) {
        int err = errno;
        std::string path = fileName;
        fileName.clear();
        ReportFileError("Cannot open file", path, SystemReason(err ? err : ENOENT));
        return ReadResult::CannotOpen;
    }

    FileHeader bytes{};
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bool wholeHeader = static_cast<size_t>(in.gcount()) == bytes.size();
    FileHeaderTexts texts = DecodeFileHeader(bytes);
    // A file too short to hold a header names no model.
    if (!wholeHeader || MacList.ChannelsOf(texts.ModelCode) == 0) {
        fileName.clear();
        MsgBox(Language.Confirmation, Language.ModError, kMsgInformation);
        return ReadResult::WrongModel;
    }

    ALL.CurrentChannel = 1;
    // A short file fills the image only as far as it goes; bytes after the
    // data part are ignored.
    std::array<uint8_t, kFileDataSize> data{};
    in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    size_t got = static_cast<size_t>(std::max<std::streamsize>(0, in.gcount()));
    std::copy_n(data.begin(), got, ALL.Image.begin() + kFileDataOffset);

    SelectModel(texts.ModelCode, ALL.Image[kBandCodeOffset], true);
    ALL.AreaCode = texts.AreaCode;
    NormaliseSettings();
    DocumentView().BuildTree();
    DocumentView().UpdateStatus();
    DocumentView().RefreshEditors();
    ALL.Modified = false;
    if (header)
        *header = texts;
    return ReadResult::Ok;
}
