// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// qv300-cli diff, verify, backups and restore: comparisons for scripts and
// the way back to what a radio held before a write.
#include "app/cli/ExitCodes.h"
#include "app/cli/LinkCommands.h"

void AddSafeCommands(CLI::App& app, CommandRun& run);
