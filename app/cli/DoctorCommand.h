// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// qv300-cli doctor: finds why the radio cannot be reached and says what to do.
#include "app/cli/LinkCommands.h"

// Declares doctor with its options; when it is parsed it puts itself into `run`.
void AddDoctorCommand(CLI::App& app, CommandRun& run);

struct DoctorOptions {
    LinkOptions port; // --port and --device
    bool json = false;
};

// 0: the chosen port reached a radio; 3: a cause was found; 2: the doctor
// could not look.
int CommandDoctor(const DoctorOptions& o);
