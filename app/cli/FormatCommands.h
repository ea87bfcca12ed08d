// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// qv300-cli export, import and load: the document in the exchange formats
// (CHIRP CSV, JSON, PDF) and back into a data file.
#include "app/cli/LinkCommands.h"

// Declares export, import and load; the one that is parsed puts itself
// into `run`.
void AddFormatCommands(CLI::App& app, CommandRun& run);
