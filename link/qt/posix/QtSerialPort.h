// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial port on Qt SerialPort: COM numbers resolved by the port rule,
// 4800 baud 8N2 without flow control, DTR and RTS raised where the device
// has them. Received bytes and line failures reach the listener from the
// event loop of the user-interface thread.
#include <QObject>
#include <QSerialPort>

#include "link/SerialPort.h"

class TQtSerialPort : public QObject, public TSerialPort {
    Q_OBJECT
public:
    explicit TQtSerialPort(QObject* parent = nullptr);
    ~TQtSerialPort() override;

    bool Open(int portNumber, int baudRate) override;
    void FollowDevice(const std::string& path) override { followed_ = path; }
    void Close() override;
    bool IsOpen() const override;
    bool FlushInput() override;
    bool FlushOutput() override;
    bool Write(const uint8_t* bytes, size_t count) override;
    size_t TransmitQueueCount() override;
    bool ByteReady() override;
    uint8_t ReadByte() override;
    bool OpenFailedInUse() const override { return inUse_; }

private:
    void OnReadyRead();
    void OnError(QSerialPort::SerialPortError error);
    void ReportFailure();
    static bool HeldByAnotherProgram(const std::string& device);

    QSerialPort port_;
    bool opening_ = false;
    bool failed_ = false;  // the device failed; reported once until reopened
    bool inUse_ = false;   // the last Open failed because another program holds the port
    std::string followed_; // opened instead of the number's device when set
};
