// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// qv300-cli write into several radios at once: --port with a list of ports,
// --all-ports, --watch and --log.
#include "app/cli/LinkCommands.h"

struct FleetCliOptions {
    bool allPorts = false;
    bool watch = false;
    bool rewriteDone = false;
    std::optional<std::string> log;
};

// Declares --all-ports, --watch, --again and --log on the write command.
void AddFleetOptions(CLI::App& command, FleetCliOptions& f);
// Whether the write goes to several ports (or waits for radio after radio).
bool IsFleetWrite(const LinkOptions& o, const FleetCliOptions& f);
// The fleet write: one line per radio as each finishes, the summary at the
// end or on Ctrl+C; 0 only when every radio succeeded.
int CommandFleetWrite(const LinkOptions& o, const FleetCliOptions& f);

// Ctrl+C (and SIGTERM) are counted from here on instead of ending the
// program: a write in progress decides what each one means.
void CountInterrupts();
int Interrupts();
