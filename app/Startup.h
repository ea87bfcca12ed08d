// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The start of a run: the one place that knows every layer, builds the
// global state (core/State.h) from the settings, the language and the model
// catalogue, and starts the first document. The windows, the command line,
// the simulator and the tests call it; nothing below calls it.
#include <cstdint>
#include <optional>
#include <string>

// Start-up of the data module: builds the global state from nothing, in the
// order the rest of the program relies on. `appPath` is the folder of the
// executable (a trailing '/' is added when missing); the settings and the
// language files are looked for there.
void DataModuleCreate(const std::string& appPath);

// The document the program starts with: the first catalogue model with its
// default band (or with `bandCode` applied), a new image, the band edges
// from the band text, and Modified cleared. The main window runs this when
// it is first shown; the command line's "new" runs it too.
void StartFirstDocument(std::optional<uint8_t> bandCode = std::nullopt);

// The folder of the running executable, ending in '/'.
std::string ExecutableFolder(const char* argv0);
