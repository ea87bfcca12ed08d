// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The simulator's command line.
#include <optional>
#include <string>
#include <vector>

#include "tools/radio-sim/RadioFaults.h"

struct SimOptions {
    std::string memoryFile; // empty: the built-in sample
    std::string modelCode;  // empty: the first catalogue model
    bool pace = false;      // spend the 4800-baud line time of every byte
    std::string saveFile;   // empty: the memory is kept only while running
    RadioFaults faults;
    int radios = 1;                // independent radios, one pseudo-terminal each
    std::optional<int> faultRadio; // the faults strike only this radio (from 1)
    std::string controlFile;       // empty: every radio stays plugged in
    std::string linksFolder;       // empty: no stable names for the cables
};

struct ParsedOptions {
    std::optional<SimOptions> options; // nothing when the line is wrong or help or the version was asked
    std::string error;                 // why not; empty for --help and --version
    bool version = false;              // --version was asked
};

ParsedOptions ParseSimOptions(const std::vector<std::string>& args);

extern const char* const kSimUsage;
