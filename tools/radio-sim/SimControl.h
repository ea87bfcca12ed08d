// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The control file of a simulator serving several radios: a test appends
// "unplug K" or "plug K" lines to it, and each poll returns the lines that
// were added since the last one.
#include <string>
#include <vector>

struct PlugCommand {
    int radio = 0;       // from 1
    bool plug = false;   // false: unplug
};

class SimControl {
public:
    explicit SimControl(std::string path) : path_(std::move(path)) {}
    // The complete lines added since the last call; lines that are not a
    // command are passed over. A missing file has no lines.
    std::vector<PlugCommand> Poll();

private:
    std::string path_;
    std::streamoff done_ = 0; // bytes of the file already taken
};

// "plug 3" or "unplug 3"; radio 0 for anything else.
PlugCommand ParsePlugCommand(const std::string& line);
