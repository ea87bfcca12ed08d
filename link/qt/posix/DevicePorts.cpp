// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/qt/posix/DevicePorts.h"

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

std::vector<std::string> TDevicePorts::DevicePaths()
{
    // Only the families the rule numbers by itself are looked for; other
    // nodes (the ttyS phantoms, the console) are reached only by mapping.
    std::vector<std::string> paths;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/dev", ec)) {
        if (IsUsbSerialPath(entry.path().string()))
            paths.push_back(entry.path().string());
    }
    return paths;
}

bool TDevicePorts::CanOpen(const std::string& path)
{
    // Non-blocking, and no terminal settings are read or written: listing
    // ports must not disturb a device.
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    return terminal;
}
