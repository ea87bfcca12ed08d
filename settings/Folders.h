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
//
// On Windows the language and help files always sit beside the program.
// SysInfo.Ini does too when that folder can be written (the portable zip);
// installed in Program Files, the user's SysInfo.Ini lives in
// %APPDATA%\QV-300\. The backups and the fleet log go to the user's
// Documents\QV-300\Backups\, where users look for them.
#include <string>

struct TFolders {
    std::string program;  // language and help files, the default settings; ends in '/'
    std::string settings; // the SysInfo.Ini the program writes; ends in '/'
    bool installed = false;
    std::string backups; // the backups and the fleet log; ends in a separator
};

// `xdgConfigHome` and `home` are the environment's values (null when unset).
TFolders ResolveFolders(const std::string& executableFolder, const char* xdgConfigHome, const char* home);

// The folder of the backups the write makes of each radio: for an installed
// program $XDG_DATA_HOME/qv300/backups/ (~/.local/share/qv300/backups/),
// otherwise backups/ beside the executable. Ends in '/'.
std::string ResolveBackupFolder(const TFolders& folders, const char* xdgDataHome, const char* home);

// The Windows rule. The known folders are the user's Roaming application
// data and Documents folders, empty when the system did not name them; the
// paths use backslashes and end in one.
struct TKnownFolders {
    std::string roamingAppData;
    std::string documents;
};
TFolders ResolveWindowsFolders(const std::string& executableFolder, bool executableFolderWritable,
                               const TKnownFolders& known);

// This system's folders: the rules above with the environment's values
// (XDG_CONFIG_HOME, XDG_DATA_HOME, HOME) or Windows's known folders.
TFolders ThisProgramFolders(const std::string& executableFolder);
// The folder of the running executable, ending in a separator; `argv0`
// serves where the system does not tell.
std::string ThisExecutableFolder(const char* argv0);

void SetBackupFolder(const std::string& folder);
const std::string& BackupFolder();

// The folder of the SysInfo.Ini the program writes; empty means AppPath.
void SetSettingsFolder(const std::string& folder);
const std::string& SettingsFolder();
