// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#if __has_include(<unistd.h>)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#define QV300_HAVE_POSIX 1
#endif

namespace fs = std::filesystem;

namespace {

std::error_code SystemError(int err)
{
    return std::error_code(err ? err : EIO, std::generic_category());
}

// The file a path names once symbolic links are followed. A link to a file
// that does not exist yet names that file, so saving through it creates it.
fs::path FollowLinks(fs::path path)
{
    std::error_code ec;
    // As many links as the system itself follows before giving up.
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(path, ec)); ++hops) {
        fs::path next = fs::read_symlink(path, ec);
        if (ec)
            break;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

// Creates a file beside `target` under a name no file has yet. Returns null
// and sets `err` when the folder does not take one.
std::FILE* CreateTemporaryBeside(const fs::path& target, fs::path& temporary, int& err)
{
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    for (int attempt = 0; attempt < 20; ++attempt) {
        temporary = folder / ("." + target.filename().string() + ".tmp" + std::to_string(random() % 1000000u) + "-" +
                              std::to_string(counter++));
        errno = 0;
#ifdef QV300_HAVE_POSIX
        // Exclusive, so a name planted in a shared folder (a link above all)
        // is never followed, and readable by the owner only until the final
        // permissions are set.
        std::FILE* f = nullptr;
        int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        err = errno;
        if (fd >= 0 && !(f = fdopen(fd, "wb"))) {
            err = errno;
            close(fd);
            unlink(temporary.c_str());
        }
#else
        std::FILE* f = std::fopen(temporary.c_str(), "wbx"); // "x": never reuse an existing file
        err = errno;
#endif
        if (f || err != EEXIST)
            return f;
    }
    return nullptr; // err is EEXIST: no free name, and no fallback to a fixed one
}

// The permissions a new file gets: those a plain create would give it.
fs::perms NewFilePermissions()
{
    auto perms = static_cast<unsigned>(fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                       fs::perms::group_write | fs::perms::others_read | fs::perms::others_write);
#ifdef QV300_HAVE_POSIX
    // The process's umask, read without changing it where the system tells it.
    unsigned mask = 022;
    std::ifstream status("/proc/self/status");
    std::string line;
    bool found = false;
    while (std::getline(status, line))
        if (line.rfind("Umask:", 0) == 0) {
            mask = static_cast<unsigned>(std::strtoul(line.c_str() + 6, nullptr, 8));
            found = true;
        }
    if (!found) {
        mode_t old = umask(022);
        umask(old);
        mask = old;
    }
    perms &= ~mask;
#endif
    return static_cast<fs::perms>(perms & 0777u);
}

// Writes all of `bytes` and makes sure they reached the disk. Returns 0 or
// the errno of the first failure; the file is closed either way.
int WriteAndClose(std::FILE* f, std::string_view bytes)
{
    errno = 0;
    int err = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
        err = errno ? errno : EIO;
    if (!err && std::fflush(f) != 0)
        err = errno ? errno : EIO;
#ifdef QV300_HAVE_POSIX
    // Some file systems cannot sync (EINVAL, EROFS); the data is written.
    if (!err && fsync(fileno(f)) != 0 && errno != EINVAL && errno != EROFS)
        err = errno;
#endif
    if (std::fclose(f) != 0 && !err)
        err = errno ? errno : EIO;
    return err;
}

// Writes `bytes` into a new file beside `target` and gives it `perms`.
// Returns 0 with the file's name in `temporary`, or the errno of the
// failure with nothing left behind.
int WriteTemporaryBeside(const fs::path& target, std::string_view bytes, fs::perms perms, fs::path& temporary)
{
    int err = 0;
    std::FILE* f = CreateTemporaryBeside(target, temporary, err);
    if (!f)
        return err;
    std::error_code ec;
    if ((err = WriteAndClose(f, bytes)) != 0) {
        fs::remove(temporary, ec);
        return err;
    }
    fs::permissions(temporary, perms, fs::perm_options::replace, ec);
    return 0;
}

} // namespace

std::error_code ReplaceFileAtomically(const std::string& path, std::string_view bytes)
{
    const fs::path target = FollowLinks(path);
    std::error_code ec;
    const fs::file_status old = fs::status(target, ec);
    if (fs::is_directory(old))
        return SystemError(EISDIR);
    // The rename would put a plain file in the place of a device or a FIFO.
    if (fs::exists(old) && !fs::is_regular_file(old))
        return std::make_error_code(std::errc::operation_not_supported);

    fs::path temporary;
    if (const int err = WriteTemporaryBeside(target, bytes, fs::exists(old) ? old.permissions() : NewFilePermissions(),
                                             temporary))
        return SystemError(err);
    fs::rename(temporary, target, ec);
    if (ec) {
        const int err = ec.value();
        fs::remove(temporary, ec);
        return SystemError(err);
    }
    return {};
}

std::error_code CreateFileExclusively(const std::string& path, std::string_view bytes)
{
    const fs::path target(path);
    fs::path temporary;
    int err = WriteTemporaryBeside(target, bytes, NewFilePermissions(), temporary);
    if (err)
        return SystemError(err);
    std::error_code ec;
#ifdef QV300_HAVE_POSIX
    // link() takes the name only while it is free, in one step; a file
    // system without hard links gets an exclusive create of the name.
    if (!err && link(temporary.c_str(), target.c_str()) != 0) {
        err = errno;
        if (err == EPERM || err == ENOTSUP || err == EOPNOTSUPP || err == EXDEV) {
            fs::remove(temporary, ec);
            const int fd = open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            std::FILE* direct = fd >= 0 ? fdopen(fd, "wb") : nullptr;
            if (!direct) {
                err = errno ? errno : EIO;
                if (fd >= 0) {
                    close(fd);
                    unlink(target.c_str());
                }
                return SystemError(err);
            }
            if ((err = WriteAndClose(direct, bytes)) != 0)
                unlink(target.c_str());
            return err ? SystemError(err) : std::error_code{};
        }
    }
#else
    if (!err && fs::exists(fs::symlink_status(target, ec)))
        err = EEXIST;
    if (!err) {
        fs::rename(temporary, target, ec);
        err = ec ? ec.value() : 0;
    }
#endif
    fs::remove(temporary, ec);
    return err ? SystemError(err) : std::error_code{};
}

std::error_code ReplaceFileAtomically(const std::string& path, std::span<const uint8_t> bytes)
{
    return ReplaceFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}
