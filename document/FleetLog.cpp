// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/FleetLog.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/LocalTime.h"
#include "base/Utf8Path.h"
#include "image/formats/CsvText.h"

namespace {
const char* ResultWord(FleetResult result)
{
    switch (result) {
    case FleetResult::Verified:
        return "verified";
    case FleetResult::Written:
        return "written";
    case FleetResult::Failed:
        return "failed";
    case FleetResult::Interrupted:
        return "interrupted";
    }
    return "";
}
} // namespace

std::string FleetRecordLine(const FleetRecord& r)
{
    // One line per radio, whatever the message: its line ends become spaces.
    std::string message = r.message;
    std::replace_if(
        message.begin(), message.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    char when[32] = "";
    std::tm local{};
    if (LocalTime(r.when, local))
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", r.seconds);
    std::string line = CsvLine({when, r.port, r.device, r.serial, r.model, r.band, r.sha256, ResultWord(r.result),
                                message, seconds, r.backupFile});
    line.resize(line.size() - 2); // the log's lines end in LF alone
    return line;
}

bool TFleetLog::Open(const std::string& path, std::string& why)
{
    std::error_code ec;
    const std::filesystem::path file = PathFromUtf8(path);
    const bool fresh = !std::filesystem::exists(file, ec) || std::filesystem::file_size(file, ec) == 0;
    if (std::filesystem::path parent = file.parent_path(); !parent.empty())
        std::filesystem::create_directories(parent, ec);
    errno = 0;
    out_.open(file, std::ios::app | std::ios::binary);
    if (!out_) {
        why = errno ? std::strerror(errno) : "cannot be opened";
        return false;
    }
    path_ = path;
    if (fresh)
        out_ << "time,port,device,serial,model,band,sha256,result,message,seconds,backup\n" << std::flush;
    if (!out_) {
        why = "cannot be written";
        out_.close();
        return false;
    }
    return true;
}

bool TFleetLog::Append(const FleetRecord& record)
{
    out_ << FleetRecordLine(record) << '\n' << std::flush;
    return static_cast<bool>(out_);
}
