// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/StableDevice.h"

#include <algorithm>

namespace {
std::string LinkIn(TSystemView& system, const std::string& folder, const std::string& node)
{
    std::vector<std::string> names = system.List(folder);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        if (system.Resolve(folder + "/" + name) == node)
            return folder + "/" + name;
    return "";
}
} // namespace

StableNames FindStableNames(TSystemView& system, const std::string& device)
{
    const std::optional<std::string> node = device.empty() ? std::nullopt : system.Resolve(device);
    if (!node)
        return {};
    return {LinkIn(system, "/dev/serial/by-path", *node), LinkIn(system, "/dev/serial/by-id", *node)};
}

std::string FollowedName(TSystemView& system, const std::string& device)
{
    if (device.empty() || system.LinkTarget(device))
        return device;
    const StableNames names = FindStableNames(system, device);
    return !names.byPath.empty() ? names.byPath : !names.byId.empty() ? names.byId : device;
}
