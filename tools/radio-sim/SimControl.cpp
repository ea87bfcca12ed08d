// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/radio-sim/SimControl.h"

#include <fstream>
#include <sstream>
#include <utility>

PlugCommand ParsePlugCommand(const std::string& line)
{
    std::istringstream in(line);
    std::string verb;
    int radio = 0;
    if (!(in >> verb >> radio) || radio < 1)
        return {};
    static const std::pair<const char*, PlugVerb> kVerbs[] = {
        {"unplug", PlugVerb::Unplug}, {"plug", PlugVerb::Plug}, {"pull", PlugVerb::Pull}, {"insert", PlugVerb::Insert}};
    for (const auto& [name, value] : kVerbs)
        if (verb == name)
            return {radio, value};
    return {};
}

std::vector<PlugCommand> SimControl::Poll()
{
    std::vector<PlugCommand> commands;
    std::ifstream in(path_, std::ios::binary);
    if (!in)
        return commands;
    in.seekg(done_);
    std::string line;
    // Only lines that end in a newline: the rest may still be being written.
    while (std::getline(in, line) && !in.eof()) {
        done_ += static_cast<std::streamoff>(line.size() + 1);
        if (PlugCommand c = ParsePlugCommand(line); c.radio > 0)
            commands.push_back(c);
    }
    return commands;
}
