// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the program finds its files.
//
// Run from the build tree or from an unpacked folder, everything sits next
// to the executable: the language and help files, and SysInfo.Ini, which
// the program writes at exit.
//
// Installed (the executable in <prefix>/bin with <prefix>/share/qv300 beside
// it), the executable's folder is not writable: the language and help files
// and a default SysInfo.Ini are read from <prefix>/share/qv300, and the
// user's own SysInfo.Ini lives in $XDG_CONFIG_HOME/qv300 (~/.config/qv300
// when the variable is unset), created at the first exit.
#include <string>

struct TFolders {
    std::string program;  // language and help files, the default settings; ends in '/'
    std::string settings; // the SysInfo.Ini the program writes; ends in '/'
    bool installed = false;
};

// `xdgConfigHome` and `home` are the environment's values (null when unset).
TFolders ResolveFolders(const std::string& executableFolder, const char* xdgConfigHome, const char* home);

// The folder of the backups the write makes of each radio: for an installed
// program $XDG_DATA_HOME/qv300/backups/ (~/.local/share/qv300/backups/),
// otherwise backups/ beside the executable. Ends in '/'.
std::string ResolveBackupFolder(const TFolders& folders, const char* xdgDataHome, const char* home);
void SetBackupFolder(const std::string& folder);
const std::string& BackupFolder();

// The folder of the SysInfo.Ini the program writes; empty means AppPath.
void SetSettingsFolder(const std::string& folder);
const std::string& SettingsFolder();
