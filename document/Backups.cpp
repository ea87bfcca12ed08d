// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/Backups.h"

#include <algorithm>
#include <filesystem>
#include <regex>

#include "base/AtomicFile.h"
#include "base/LocalTime.h"
#include "base/Utf8Path.h"

namespace fs = std::filesystem;

std::string SerialForFileName(const std::string& serial)
{
    std::string name;
    for (char c : serial) {
        const bool kept = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                          c == '_';
        name += kept ? c : '_';
    }
    return name.empty() ? "NOSERIAL" : name;
}

std::string BackupFileName(const std::string& serial, std::time_t when)
{
    std::tm local{};
    LocalTime(when, local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return SerialForFileName(serial) + "-" + stamp + ".dat";
}

std::string SaveBackup(const RadioContents& contents, const std::string& folder, std::time_t when, std::string* error)
{
    std::error_code ec;
    fs::create_directories(PathFromUtf8(folder), ec);
    const std::string name = BackupFileName(SerialNumberOf(contents), when);
    const std::vector<uint8_t> data = ContentsToDataFile(contents);
    const std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
    fs::path path = PathFromUtf8(folder) / name;
    // Another write into a radio of the same serial number in the same
    // second, here or in another process, may take the name at any moment:
    // the name is only ever taken while it is free.
    for (int n = 2; !ec; ++n) {
        ec = CreateFileExclusively(Utf8FromPath(path), bytes);
        if (ec != std::errc::file_exists || n > 9999)
            break;
        ec.clear();
        path = PathFromUtf8(folder) / (name.substr(0, name.size() - 4) + "-" + std::to_string(n) + ".dat");
    }
    if (ec) {
        if (error)
            *error = ec.message();
        return {};
    }
    return Utf8FromPath(path);
}

std::vector<BackupEntry> ListBackups(const std::string& folder)
{
    static const std::regex kName(R"((.+)-(\d{4})(\d{2})(\d{2})-(\d{2})(\d{2})(\d{2})(-\d+)?\.dat)");
    std::vector<BackupEntry> entries;
    std::vector<std::array<uint8_t, kImageSize>> images;
    std::error_code ec;
    for (fs::directory_iterator it(PathFromUtf8(folder), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = Utf8FromPath(it->path().filename());
        std::smatch m;
        // Only a plain file can be a backup: a folder cannot be read, and a
        // FIFO would wait for a writer that never comes.
        std::error_code typeError;
        if (!std::regex_match(name, m, kName) || !it->is_regular_file(typeError))
            continue;
        std::optional<RadioContents> contents = ReadContentsFile(Utf8FromPath(it->path()));
        if (!contents)
            continue;
        BackupEntry e;
        e.path = Utf8FromPath(it->path());
        e.serial = SerialNumberOf(*contents);
        e.time = m[2].str() + "-" + m[3].str() + "-" + m[4].str() + " " + m[5].str() + ":" + m[6].str() + ":" +
                 m[7].str();
        e.model = ModelNameOf(*contents);
        e.band = BandTextOf(*contents);
        entries.push_back(e);
        images.push_back(contents->image);
    }
    std::vector<size_t> order(entries.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&entries](size_t a, size_t b) {
        return entries[a].time != entries[b].time ? entries[a].time > entries[b].time
                                                  : entries[a].path > entries[b].path;
    });
    // Backups of a radio taken one after another mostly hold the same
    // memory; each names the oldest one like it, so the list shows which differ.
    std::vector<BackupEntry> sorted;
    for (size_t i = 0; i < order.size(); ++i) {
        sorted.push_back(entries[order[i]]);
        for (size_t j = order.size(); j-- > i + 1;)
            if (images[order[j]] == images[order[i]]) {
                sorted.back().sameAs = Utf8FromPath(PathFromUtf8(entries[order[j]].path).filename());
                break;
            }
    }
    return sorted;
}
