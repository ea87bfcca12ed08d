// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the connection doctor reads of the machine, and nothing else: files
// and links below /sys, /dev and /proc, the udev rule folders, the user's
// groups and the kernel log. Paths are the machine's own absolute paths
// ("/sys/class/tty"); the real view reads them below a root folder, the
// tests hand the doctor a made-up machine.
#include <optional>
#include <string>
#include <vector>

class TWinMachineView;

struct NodeInfo {
    unsigned gid = 0;
    unsigned mode = 0; // permission bits, e.g. 0660
    bool characterDevice = false;
};

struct UserGroups {
    std::string name;
    std::vector<unsigned> session;    // the groups of this login
    std::vector<unsigned> configured; // the groups the user is in now (a new login gets these)
};

class TSystemView {
public:
    virtual ~TSystemView() = default;
    // Names of the entries of a folder, in any order; none when it cannot be read.
    virtual std::vector<std::string> List(const std::string& folder) = 0;
    // The whole content of a file; nothing when it cannot be read.
    virtual std::optional<std::string> Read(const std::string& file) = 0;
    // The target of a symbolic link as stored; nothing for no link.
    virtual std::optional<std::string> LinkTarget(const std::string& path) = 0;
    // The path with every link followed; nothing when it does not exist.
    virtual std::optional<std::string> Resolve(const std::string& path) = 0;
    virtual bool Exists(const std::string& path) = 0;
    virtual std::optional<NodeInfo> Node(const std::string& path) = 0;
    // Whether this user may open the node for reading and writing (checked
    // without opening it).
    virtual bool MayOpen(const std::string& path) = 0;
    virtual std::string GroupName(unsigned gid) = 0;
    virtual UserGroups User() = 0;
    // The kernel's message log; nothing when this user may not read it.
    virtual std::optional<std::string> KernelLog() = 0;
    // A Windows machine has none of the above; the doctor reads its own
    // facts through this instead. Nothing on other systems.
    virtual TWinMachineView* WindowsMachine() { return nullptr; }
};

// A machine with nothing to read: no devices, no groups, no log.
class TEmptySystemView : public TSystemView {
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
