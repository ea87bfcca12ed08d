// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// qv300-cli read, write and ports: the radio link from the command line,
// on the same engine as the read and write windows.
#include <functional>
#include <optional>
#include <string>

namespace CLI {
class App;
}

// The command the line chose, with its parsed options; returns the exit
// code: 0 success, 1 usage, 2 failure.
using CommandRun = std::function<int()>;

// Declares read, write and ports with their options and checks; the one
// that is parsed puts itself into `run`.
void AddLinkCommands(CLI::App& app, CommandRun& run);

struct LinkOptions {
    std::string file;
    std::optional<std::string> port;
    std::optional<std::string> device;
    int count = 1;
    bool yes = false;
    bool noBackup = false;
    bool noVerify = false;
    std::optional<std::string> backupDir;
    bool json = false;
    bool force = false; // read: replace an existing OUT
};

// The options the link commands share: the port of this run and the device
// behind it, checked as the program's port names are.
// With `list`, --port and --device take comma-separated lists.
void AddPortOptions(CLI::App& command, LinkOptions& o, bool list = false);

// The port of this run: --port names it (otherwise the settings' port,
// checked as at start-up), --device stands behind it.
void ApplyPortOptions(const LinkOptions& o);

// Puts --port and --device into effect for this run only, opening nothing;
// true when the user named a port or a device.
bool ChoosePortOfRun(const LinkOptions& o);

int CommandRead(const LinkOptions& o);
int CommandPorts(const LinkOptions& o);

// Declared in SafeCommands.cpp: the write's --no-backup, --no-verify and
// --backup-dir.
void AddSafeWriteOptions(CLI::App& command, LinkOptions& o);
// The write of a data file into one radio after another, each backed up
// first, shown what changes and verified after.
int CommandWrite(const LinkOptions& o);
