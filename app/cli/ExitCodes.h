// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exit codes of qv300-cli, one meaning each across every command, so a
// script can tell a usage error from a failed operation.
inline constexpr int kExitUsage = 1;         // the command line is wrong
inline constexpr int kExitFailed = 2;        // the operation failed
inline constexpr int kExitDiffer = 3;        // diff and verify: the two differ
inline constexpr int kExitCauseFound = 3;    // doctor: a reason the radio cannot be reached
inline constexpr int kExitInterrupted = 130; // Ctrl+C, as a shell reports SIGINT
