// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial devices of the system the program runs on, for the port rule:
// the one place that picks them.
#ifdef _WIN32
#include "link/qt/win/NoPorts.h"
using TPlatformPorts = TNoPorts;
#else
#include "link/qt/posix/DevicePorts.h"
using TPlatformPorts = TDevicePorts;
#endif
