// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way the program replaces a file on disk: the data file, the
// settings file and every export go through it, so a save that fails at any
// point leaves the previous file as it was. On Windows the last step is
// ReplaceFileW (which keeps the replaced file's attributes) or MoveFileExW
// with write-through, tried again for half a second while another program
// (a virus scanner, mostly) holds one of the files.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

// Replaces the file at `path` with `bytes`. They are written to a new file
// beside it (never one that already exists), flushed to the disk and renamed
// over it. The new file is readable by its owner only until it keeps the
// permissions of the file it replaces (those of a plain create when there
// was none), and no fixed fallback name is ever used; a
// symbolic link is followed, so the file it points to is replaced and the
// link stays; a folder, a device and a FIFO are refused. Returns an empty code on success, else the
// system's reason (its message() is the text to show), and then nothing is
// left behind.
std::error_code ReplaceFileAtomically(const std::string& path, std::string_view bytes);
std::error_code ReplaceFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

// Creates the file at `path` with `bytes`, whole or not at all, and never
// over anything already there: the bytes are written beside it and linked
// under the name only while the name is free, so two writers racing for one
// name never overwrite each other. A name taken already (whatever it is,
// a dangling link too) is refused with std::errc::file_exists; the file has
// the permissions of a plain create.
std::error_code CreateFileExclusively(const std::string& path, std::string_view bytes);
