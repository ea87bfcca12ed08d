// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Stands in for the Windows serial port until the Win32 adapter replaces
// it: no port ever opens, so every read and write fails as on a machine
// without the cable, honestly and at once.
#include <QObject>

#include "link/SerialPort.h"

class TNoSerialPort : public QObject, public TSerialPort {
public:
    explicit TNoSerialPort(QObject* parent = nullptr) : QObject(parent) {}

    bool Open(int, int) override { return false; }
    void Close() override {}
    bool IsOpen() const override { return false; }
    bool FlushInput() override { return true; }
    bool FlushOutput() override { return true; }
    bool Write(const uint8_t*, size_t) override { return false; }
    size_t TransmitQueueCount() override { return 0; }
    bool ByteReady() override { return false; }
    uint8_t ReadByte() override { return 0; }
};
