// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// qv300-cli diff, verify, backups and restore: comparisons for scripts and
// the way back to what a radio held before a write.
#include "app/cli/LinkCommands.h"

// Exit code of diff and verify when the two differ.
inline constexpr int kExitDiffer = 3;

void AddSafeCommands(CLI::App& app, CommandRun& run);
