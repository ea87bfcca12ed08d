// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for the Windows writer until the Win32 adapter (ReplaceFileW,
// FlushFileBuffers) replaces it: every save fails with a plain reason and
// leaves the file on disk as it was.
#include "settings/AtomicFile.h"

std::error_code ReplaceFileAtomically(const std::string&, std::string_view)
{
    return std::make_error_code(std::errc::function_not_supported);
}

std::error_code ReplaceFileAtomically(const std::string& path, std::span<const uint8_t> bytes)
{
    return ReplaceFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::error_code CreateFileExclusively(const std::string&, std::string_view)
{
    return std::make_error_code(std::errc::function_not_supported);
}
