// SPDX-License-Identifier: GPL-3.0-or-later
// The folders of the program on Linux: the XDG rules of settings/Folders.h
// with the environment's values.
#include "settings/Folders.h"

#include <cstdlib>
#include <filesystem>

TFolders ThisProgramFolders(const std::string& executableFolder)
{
    TFolders folders = ResolveFolders(executableFolder, std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    folders.backups = ResolveBackupFolder(folders, std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    return folders;
}

std::string ThisExecutableFolder(const char* argv0)
{
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty())
        exe = std::filesystem::absolute(argv0 ? argv0 : ".", ec);
    std::string folder = exe.parent_path().string();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}
