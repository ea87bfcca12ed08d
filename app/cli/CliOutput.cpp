// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/CliOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "base/AtomicFile.h"
#include "base/Utf8Path.h"
#include "image/formats/DataFile.h"

namespace fs = std::filesystem;

namespace {
bool IsStream(const fs::file_status& status)
{
    return fs::is_character_file(status) || fs::is_fifo(status) || fs::is_socket(status);
}

bool Refuse(const std::string& out, const std::string& why)
{
    std::cerr << "qv300-cli: " << out << ' ' << why << '\n';
    return false;
}

bool CannotWrite(const std::string& what, const std::string& reason)
{
    std::cerr << "qv300-cli: cannot write " << what << ": " << reason << '\n';
    return false;
}

// Writes to standard output or to a device or FIFO that is there already:
// appending creates nothing in its place and truncates nothing.
bool WriteStream(std::FILE* to, const std::string& what, std::string_view bytes)
{
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), to) == bytes.size() && std::fflush(to) == 0;
    const int err = errno ? errno : EIO;
    if (to != stdout && std::fclose(to) != 0 && written)
        return CannotWrite(what, std::strerror(errno ? errno : EIO));
    if (!written && to == stdout)
        std::clearerr(stdout); // reported here, not once more on the way out
    return written || CannotWrite(what, std::strerror(err));
}
} // namespace

bool OutputAllowed(const std::string& out, bool force, const std::vector<std::string>& inputs)
{
    if (out == "-")
        return true;
    std::error_code ec;
    const fs::path file = PathFromUtf8(out);
    if (!fs::exists(fs::symlink_status(file, ec)))
        return true;
    for (const std::string& in : inputs)
        if (!in.empty() && fs::equivalent(file, PathFromUtf8(in), ec))
            return Refuse(out, "is also the command's input; write to another file");
    const fs::file_status status = fs::status(file, ec);
    if (IsStream(status))
        return true;
    if (fs::exists(status) && !fs::is_regular_file(status))
        return Refuse(out, "is neither a plain file nor a stream; nothing was written");
    return force || Refuse(out, "exists; use --force to replace it");
}

bool WriteOutput(const std::string& out, std::string_view bytes, bool force)
{
    if (out == "-")
        return WriteStream(stdout, "standard output", bytes);
    // Asked again: the command may have taken a while (a radio's read).
    if (!OutputAllowed(out, force))
        return false;
    std::error_code ec;
    if (IsStream(fs::status(PathFromUtf8(out), ec))) {
        errno = 0;
        std::FILE* to = std::fopen(out.c_str(), "ab");
        return to ? WriteStream(to, out, bytes) : CannotWrite(out, std::strerror(errno ? errno : EIO));
    }
    if (std::error_code written = ReplaceFileAtomically(out, bytes))
        return CannotWrite(out, written.message());
    return true;
}

bool WriteDataFile(const std::string& out, bool force)
{
    const std::vector<uint8_t> bytes = DocumentToDataFile();
    return WriteOutput(out, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), force);
}
