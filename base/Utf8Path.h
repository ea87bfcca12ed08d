// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program keeps every path as UTF-8 in a std::string. A std::filesystem
// path made from a plain std::string takes it in the system's narrow code
// page, which on Windows is not UTF-8: C:\Users\张伟\ would become another
// name there. Every file the core opens, lists, stats or renames goes through
// these two, which mean the same bytes on Linux.
#include <filesystem>
#include <string>
#include <string_view>

std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);
