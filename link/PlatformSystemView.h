// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The doctor's view of this machine, for the system the program runs on:
// the one place that picks it.
#ifdef _WIN32
#include "link/win/WinSystemView.h"
using TPlatformSystemView = TWinSystemView;
#else
#include "link/posix/PosixSystemView.h"
using TPlatformSystemView = TPosixSystemView;
#endif
