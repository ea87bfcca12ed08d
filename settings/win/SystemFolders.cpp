// SPDX-License-Identifier: GPL-3.0-or-later
// The folders Windows names for the program and its user.
#include "settings/Folders.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <random>

#include "base/win/WideText.h"

namespace {

std::string KnownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    std::string folder;
    if (SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path) == S_OK && path)
        folder = Utf8FromWide(path);
    CoTaskMemFree(path);
    return folder;
}

// Whether a file can be made in the folder: the portable zip unpacked
// anywhere the user owns, not a Program Files folder.
bool CanCreateFilesIn(const std::string& folder)
{
    std::random_device random;
    const std::wstring probe = WideFromUtf8(folder) + L".qv300-probe-" + std::to_wstring(random());
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

} // namespace

TFolders ThisProgramFolders(const std::string& executableFolder)
{
    return ResolveWindowsFolders(executableFolder, CanCreateFilesIn(executableFolder),
                                 {KnownFolder(FOLDERID_RoamingAppData), KnownFolder(FOLDERID_Documents)});
}

std::string ThisExecutableFolder(const char*)
{
    // Long enough for any path the system takes.
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    const size_t cut = path.find_last_of(L"\\/");
    return Utf8FromWide(cut == std::wstring::npos ? L".\\" : path.substr(0, cut + 1));
}
