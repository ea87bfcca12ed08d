// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The machine itself as the doctor sees it: files below a root folder ("/"
// for the machine; another folder holds a copied tree), the user and groups
// of this process, the kernel log through syslog(2).
#include "link/SystemView.h"

class TPosixSystemView : public TSystemView {
public:
    explicit TPosixSystemView(std::string root = "/");

    std::vector<std::string> List(const std::string& folder) override;
    std::optional<std::string> Read(const std::string& file) override;
    std::optional<std::string> LinkTarget(const std::string& path) override;
    std::optional<std::string> Resolve(const std::string& path) override;
    bool Exists(const std::string& path) override;
    std::optional<NodeInfo> Node(const std::string& path) override;
    bool MayOpen(const std::string& path) override;
    std::string GroupName(unsigned gid) override;
    UserGroups User() override;
    std::optional<std::string> KernelLog() override;

private:
    std::string Below(const std::string& path) const;
    std::string root_; // without a trailing slash; empty for "/"
};
