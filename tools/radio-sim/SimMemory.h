// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the simulated radio's memory comes from and goes to. These use the
// program's own document functions, so they need the start-up
// (DataModuleCreate) to have run, and they replace the document in ALL.
#include <optional>
#include <string>

#include "tools/radio-sim/SimulatedRadio.h"

// A radio that has been programmed and used: several channels with tones
// and flags, settings away from their defaults, the 134 - 174MHz band, a
// factory time stamp and a serial number.
RadioMemory BuildSampleMemory();

// The memory held by a data file: image blocks 1 to 28 from the file, byte
// for byte and not normalised (a radio may hold anything); every other byte
// 0xFF. Nothing and a reason when the file cannot be read or is too short.
std::optional<RadioMemory> LoadMemoryFile(const std::string& path, std::string& error);

// Writes the memory as the program would save it right after reading it
// from a radio that reported `modelCode`. Reports a failure through MsgBox.
bool SaveMemoryFile(const std::string& path, const RadioMemory& memory, const std::string& modelCode);
