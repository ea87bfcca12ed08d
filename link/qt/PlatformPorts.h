// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial devices of the system the program runs on, for the port rule:
// the one place that picks them.
#ifdef _WIN32
#include "link/win/WinPorts.h"
using TPlatformPorts = TWinPorts;
#else
#include "link/qt/posix/DevicePorts.h"
using TPlatformPorts = TDevicePorts;
#endif
