// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file a command writes (its OUT), the same way for every command: it
// is checked before the command does its work, and written through the one
// file writer when the work is done.
#include <string>
#include <string_view>
#include <vector>

// True when OUT may be written; otherwise says why on standard error. "-" is
// standard output. A device or a FIFO is written as a stream. A plain file
// that exists is replaced only with `force`, and never when it is one of the
// command's `inputs` (empty names are ignored). Anything else is refused.
bool OutputAllowed(const std::string& out, bool force, const std::vector<std::string>& inputs = {});

// Writes `bytes` to OUT as OutputAllowed describes: a file in one piece or
// not at all. False, with the reason on standard error, when that failed.
bool WriteOutput(const std::string& out, std::string_view bytes, bool force);

// The document as its data file, the bytes Save writes, to OUT.
bool WriteDataFile(const std::string& out, bool force);
