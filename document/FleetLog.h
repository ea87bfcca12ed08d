// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The record of a fleet write: one CSV line per radio, appended and flushed
// as each radio finishes, so the lines written survive a crash.
#include <ctime>
#include <fstream>
#include <string>

enum class FleetResult { Verified, Written, Failed, Interrupted };

struct FleetRecord {
    std::time_t when = 0;
    std::string port;
    std::string device;
    std::string serial;
    std::string model;
    std::string band;
    std::string sha256; // of the document written
    FleetResult result = FleetResult::Failed;
    std::string message;     // why it failed or where it was interrupted
    bool writeBegun = false; // interrupted with part of the document sent
    double seconds = 0;
    std::string backupFile;
};

// One line without its line end: local time, port, device, serial, model,
// band, sha256, result, message, seconds, backup.
std::string FleetRecordLine(const FleetRecord& record);

class TFleetLog {
public:
    // Opens the file for appending, with the heading line when it is new;
    // false with the system's reason when it cannot be written.
    bool Open(const std::string& path, std::string& why);
    bool IsOpen() const { return out_.is_open(); }
    // Appends and flushes one line; false when it did not reach the file.
    bool Append(const FleetRecord& record);
    const std::string& Path() const { return path_; }

private:
    std::ofstream out_;
    std::string path_;
};
