// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/Folders.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

// For the folders the rules made: a Windows one ends in a backslash already.
std::string WithSeparator(std::string folder)
{
    return !folder.empty() && folder.back() == '\\' ? folder : WithSlash(std::move(folder));
}

std::string WithBackslash(std::string folder)
{
    if (folder.empty() || (folder.back() != '\\' && folder.back() != '/'))
        folder += '\\';
    return folder;
}

std::string settingsFolder;
std::string backupFolder;

} // namespace

TFolders ResolveFolders(const std::string& executableFolder, const char* xdgConfigHome, const char* home)
{
    TFolders folders;
    folders.program = WithSlash(executableFolder);
    folders.settings = folders.program;

    fs::path exe = fs::path(folders.program).parent_path(); // without the trailing '/'
    std::error_code ec;
    const fs::path shared = exe.parent_path() / "share" / "qv300";
    if (exe.filename() != "bin" || !fs::is_directory(shared, ec))
        return folders;

    folders.installed = true;
    folders.program = WithSlash(shared.string());
    // The XDG rule: a relative XDG_CONFIG_HOME is invalid and is ignored.
    if (xdgConfigHome && *xdgConfigHome == '/')
        folders.settings = WithSlash((fs::path(xdgConfigHome) / "qv300").string());
    else if (home && *home)
        folders.settings = WithSlash((fs::path(home) / ".config" / "qv300").string());
    else
        folders.settings = WithSlash((fs::temp_directory_path(ec) / "qv300").string());
    return folders;
}

TFolders ResolveWindowsFolders(const std::string& executableFolder, bool executableFolderWritable,
                               const TKnownFolders& known)
{
    TFolders folders;
    folders.program = WithBackslash(executableFolder);
    folders.settings = folders.program;
    // Without an application data folder the program's own folder is the
    // only place left; saving the settings there then fails as it would.
    if (!executableFolderWritable && !known.roamingAppData.empty()) {
        folders.installed = true;
        folders.settings = WithBackslash(known.roamingAppData) + "QV-300\\";
    }
    folders.backups = (known.documents.empty() ? folders.settings : WithBackslash(known.documents) + "QV-300\\") +
                      "Backups\\";
    return folders;
}

void SetSettingsFolder(const std::string& folder)
{
    settingsFolder = folder.empty() ? folder : WithSeparator(folder);
}

const std::string& SettingsFolder()
{
    return settingsFolder;
}

std::string ResolveBackupFolder(const TFolders& folders, const char* xdgDataHome, const char* home)
{
    if (!folders.installed)
        return WithSlash((fs::path(folders.program) / "backups").string());
    std::error_code ec;
    // As for the settings: a relative XDG_DATA_HOME is ignored.
    if (xdgDataHome && *xdgDataHome == '/')
        return WithSlash((fs::path(xdgDataHome) / "qv300" / "backups").string());
    if (home && *home)
        return WithSlash((fs::path(home) / ".local" / "share" / "qv300" / "backups").string());
    return WithSlash((fs::temp_directory_path(ec) / "qv300" / "backups").string());
}

void SetBackupFolder(const std::string& folder)
{
    backupFolder = WithSeparator(folder);
}

const std::string& BackupFolder()
{
    return backupFolder;
}
