// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names of a serial device that stay when its node is renamed. A USB
// cable that drops off the bus and comes back (a loose plug, a hub reset)
// may come back as /dev/ttyUSB3 where it was /dev/ttyUSB0; udev keeps
// links to it that do not change: /dev/serial/by-path names the USB socket
// it is in, /dev/serial/by-id the adapter (two adapters of one make without
// serial numbers share one by-id name, so by-path is the one to follow).
#include <string>

#include "link/SystemView.h"

struct StableNames {
    std::string byPath; // empty when there is none
    std::string byId;
};

// The links in /dev/serial/by-path and /dev/serial/by-id that lead to the
// device.
StableNames FindStableNames(TSystemView& system, const std::string& device);

// The name to open the device by for as long as a run lasts: a link given
// as the device is one already; otherwise its by-path link, its by-id link,
// or the device itself when it has neither.
std::string FollowedName(TSystemView& system, const std::string& device);
