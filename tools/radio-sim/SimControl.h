// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The control file of a simulator serving several radios: a test appends
// lines to it, and each poll returns the lines added since the last one.
//   unplug K   radio K leaves its cable; the cable's device stays
//   plug K     a new radio goes onto cable K
//   pull K     cable K's device goes away, as a USB cable pulled from its
//              socket; its radio stays on it
//   insert K   cable K's device comes back under another name
#include <string>
#include <vector>

enum class PlugVerb { Unplug, Plug, Pull, Insert };

struct PlugCommand {
    int radio = 0; // from 1
    PlugVerb verb = PlugVerb::Unplug;
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

// "plug 3", "pull 3" and so on; radio 0 for anything else.
PlugCommand ParsePlugCommand(const std::string& line);
