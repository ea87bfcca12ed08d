// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The doctor's view of a Windows machine. Windows has none of the files,
// device nodes and groups the doctor reads on Linux, so for now the doctor
// sees an empty machine here: no devices, nothing it could blame, and it
// says only what the port itself answers.
#include "link/SystemView.h"

class TWinSystemView : public TSystemView {
public:
    std::vector<std::string> List(const std::string&) override { return {}; }
    std::optional<std::string> Read(const std::string&) override { return std::nullopt; }
    std::optional<std::string> LinkTarget(const std::string&) override { return std::nullopt; }
    std::optional<std::string> Resolve(const std::string&) override { return std::nullopt; }
    bool Exists(const std::string&) override { return false; }
    std::optional<NodeInfo> Node(const std::string&) override { return std::nullopt; }
    bool MayOpen(const std::string&) override { return false; }
    std::string GroupName(unsigned) override { return {}; }
    UserGroups User() override { return {}; }
    std::optional<std::string> KernelLog() override { return std::nullopt; }
};
