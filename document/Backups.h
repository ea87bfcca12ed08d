// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The backups of the radios: each a data file named by the radio's serial
// number and the local time it was made, "<serial>-<yyyymmdd-hhmmss>.dat",
// in the backup folder (settings/Folders.h).
#include <ctime>
#include <string>
#include <vector>

#include "document/RadioContents.h"

// The serial number made safe for a file name: letters, digits, '-' and
// '_' are kept, anything else becomes '_'; "NOSERIAL" when none is left.
std::string SerialForFileName(const std::string& serial);
// "<serial>-<yyyymmdd-hhmmss>.dat" for the local time `when`.
std::string BackupFileName(const std::string& serial, std::time_t when);

// Saves the contents in `folder` (made when missing) under the name of
// their serial number and `when`; a name taken already gets "-2", "-3".
// Returns the path, or empty with the system's reason in `error`.
std::string SaveBackup(const RadioContents& contents, const std::string& folder, std::time_t when, std::string* error);

struct BackupEntry {
    std::string path;
    std::string serial;
    std::string time;  // "yyyy-mm-dd hh:mm:ss" from the file name
    std::string model; // model name and band text from the file
    std::string band;
    std::string sameAs; // the file name of the oldest listed backup with the same contents, or empty
};
// The backups in `folder`, newest first; files that are no data file of a
// known model are left out.
std::vector<BackupEntry> ListBackups(const std::string& folder);
