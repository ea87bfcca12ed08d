// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a command that talks to a serial port needs of Qt for its run: the
// application object the port's and the timers' events go through, and the
// machine's serial devices as the port system.
#include <QCoreApplication>

#include "link/qt/PlatformPorts.h"

struct QtRun {
    int argc = 1;
    char name[10] = "qv300-cli";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    TPlatformPorts devices;
    QtRun() { SetPortSystem(&devices); }
    ~QtRun() { SetPortSystem(nullptr); }
};
