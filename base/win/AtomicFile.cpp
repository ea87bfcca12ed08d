// SPDX-License-Identifier: GPL-3.0-or-later
// The one atomic writer on Windows: the bytes go to a new file beside the
// target, are flushed to the disk, and take the target's name in one step.
#include "base/AtomicFile.h"

#include <windows.h>

#include <atomic>
#include <random>
#include <string>

#include "base/win/WideText.h"

namespace {

// A virus scanner or an indexer opens a new file for a moment, without
// letting it be renamed; half a second outlasts them.
constexpr int kAttempts = 10;
constexpr DWORD kPauseMilliseconds = 50;

bool IsHeld(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

// The system's reasons in the words the program shows on every system.
std::error_code FromWin32(DWORD error)
{
    switch (error) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return std::make_error_code(std::errc::file_exists);
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return std::make_error_code(std::errc::no_such_file_or_directory);
    case ERROR_ACCESS_DENIED:
        return std::make_error_code(std::errc::permission_denied);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
        return std::make_error_code(std::errc::device_or_resource_busy);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return std::make_error_code(std::errc::no_space_on_device);
    case ERROR_WRITE_PROTECT:
        return std::make_error_code(std::errc::read_only_file_system);
    default:
        return std::error_code(static_cast<int>(error), std::system_category());
    }
}

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    bool Close()
    {
        const bool closed = !ok() || CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE h_;
};

// The file a name stands for once links are followed, as the POSIX writer
// replaces the file a symbolic link points to and keeps the link.
std::wstring FollowLinks(const std::wstring& target)
{
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return target;
    Handle file(CreateFileW(target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    wchar_t final[MAX_PATH * 4];
    const DWORD length = file.ok() ? GetFinalPathNameByHandleW(file.get(), final, MAX_PATH * 4, 0) : 0;
    return length > 0 && length < MAX_PATH * 4 ? std::wstring(final, length) : target;
}

// Refuses what a plain file must not take the place of: a folder, a device.
std::error_code CheckTarget(const std::wstring& target, bool& exists)
{
    const DWORD attributes = GetFileAttributesW(target.c_str());
    exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::make_error_code(std::errc::is_a_directory);
    Handle file(CreateFileW(target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr));
    if (file.ok() && GetFileType(file.get()) != FILE_TYPE_DISK)
        return std::make_error_code(std::errc::operation_not_supported);
    exists = exists && file.ok();
    return {};
}

std::error_code WriteAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr))
            return FromWin32(GetLastError());
        if (written == 0)
            return std::make_error_code(std::errc::io_error);
        bytes.remove_prefix(written);
    }
    return FlushFileBuffers(file) ? std::error_code{} : FromWin32(GetLastError());
}

// Writes `bytes` into a new file beside `target`, never one that exists.
// Returns its name in `temporary`, or the reason with nothing left behind.
std::error_code WriteTemporaryBeside(const std::wstring& target, std::string_view bytes, std::wstring& temporary)
{
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const size_t cut = target.find_last_of(L"\\/");
    const std::wstring folder = cut == std::wstring::npos ? std::wstring() : target.substr(0, cut + 1);
    const std::wstring name = cut == std::wstring::npos ? target : target.substr(cut + 1);
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < 20 && error == ERROR_FILE_EXISTS; ++attempt) {
        temporary = folder + L"." + name + L".tmp" + std::to_wstring(random() % 1000000u) + L"-" +
                    std::to_wstring(counter++);
        Handle file(
            CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.ok()) {
            error = GetLastError();
            continue;
        }
        std::error_code ec = WriteAll(file.get(), bytes);
        if (!file.Close() && !ec)
            ec = FromWin32(GetLastError());
        if (ec)
            DeleteFileW(temporary.c_str());
        return ec;
    }
    return FromWin32(error);
}

// Gives the temporary file the target's name, trying again for a moment
// while another program holds one of them; the temporary file is gone
// afterwards either way.
template <typename Rename>
std::error_code RenameOver(const std::wstring& temporary, const std::wstring& target, Rename rename)
{
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (attempt > 0)
            Sleep(kPauseMilliseconds);
        error = rename(temporary.c_str(), target.c_str());
        if (error == ERROR_SUCCESS)
            return {};
        if (!IsHeld(error))
            break;
    }
    DeleteFileW(temporary.c_str());
    return FromWin32(error);
}

DWORD MoveOver(const wchar_t* from, const wchar_t* to)
{
    return MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? ERROR_SUCCESS : GetLastError();
}

} // namespace

std::error_code ReplaceFileAtomically(const std::string& path, std::string_view bytes)
{
    if (path.empty())
        return std::make_error_code(std::errc::no_such_file_or_directory);
    const std::wstring target = FollowLinks(WideFromUtf8(path));
    bool exists = false;
    if (std::error_code refused = CheckTarget(target, exists))
        return refused;
    std::wstring temporary;
    if (std::error_code ec = WriteTemporaryBeside(target, bytes, temporary))
        return ec;
    if (!exists)
        return RenameOver(temporary, target, MoveOver);
    // ReplaceFileW keeps the target's attributes and permissions, as the
    // POSIX writer keeps its mode.
    return RenameOver(temporary, target, [](const wchar_t* from, const wchar_t* to) -> DWORD {
        // A target another program holds is not handed to ReplaceFileW,
        // which leaves a file of its own behind then (Wine does).
        HANDLE probe = CreateFileW(to, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
        if (probe == INVALID_HANDLE_VALUE && IsHeld(GetLastError()))
            return GetLastError();
        if (probe != INVALID_HANDLE_VALUE)
            CloseHandle(probe);
        if (ReplaceFileW(to, from, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
            return ERROR_SUCCESS;
        const DWORD error = GetLastError();
        // The target was moved away but the new file not put in its place,
        // or the file system has no ReplaceFileW: a plain rename finishes it.
        return IsHeld(error) ? error : MoveOver(from, to);
    });
}

std::error_code CreateFileExclusively(const std::string& path, std::string_view bytes)
{
    if (path.empty())
        return std::make_error_code(std::errc::no_such_file_or_directory);
    const std::wstring target = WideFromUtf8(path);
    std::wstring temporary;
    if (std::error_code ec = WriteTemporaryBeside(target, bytes, temporary))
        return ec;
    // Without MOVEFILE_REPLACE_EXISTING the name is taken only while it is
    // free, in one step. A folder or a device of that name is refused as
    // taken too.
    return RenameOver(temporary, target, [](const wchar_t* from, const wchar_t* to) -> DWORD {
        if (MoveFileExW(from, to, MOVEFILE_WRITE_THROUGH))
            return ERROR_SUCCESS;
        const DWORD error = GetLastError();
        return GetFileAttributesW(to) != INVALID_FILE_ATTRIBUTES ? ERROR_FILE_EXISTS : error;
    });
}

std::error_code ReplaceFileAtomically(const std::string& path, std::span<const uint8_t> bytes)
{
    return ReplaceFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}
