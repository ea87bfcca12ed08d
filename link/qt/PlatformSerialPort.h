// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial port of the system the program runs on: the one place that
// picks it.
#ifdef _WIN32
#include "link/qt/win/NoSerialPort.h"
using TPlatformSerialPort = TNoSerialPort;
#else
#include "link/qt/posix/QtSerialPort.h"
using TPlatformSerialPort = TQtSerialPort;
#endif
