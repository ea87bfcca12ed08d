// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial port on the Win32 communications API: COM`n` is \\.\COMn,
// opened exclusively at the baud given, 8 data bits, no parity, 2 stop
// bits, no flow control, DTR and RTS raised. Reads and writes are
// overlapped; their events wake the event loop of the user-interface
// thread, which hands received bytes and line failures to the listener.
#include <QObject>
#include <deque>
#include <memory>
#include <vector>

#include "link/SerialPort.h"

// Declared only: the windows that use the port must not see <windows.h>,
// whose macros rename functions of theirs (AddPort, for one).
class QWinEventNotifier;
class TCommApi;
TCommApi& SystemCommApi();
struct _OVERLAPPED;

class TWinSerialPort : public QObject, public TSerialPort {
    Q_OBJECT
public:
    explicit TWinSerialPort(TCommApi& api = SystemCommApi(), QObject* parent = nullptr);
    ~TWinSerialPort() override;

    bool Open(int portNumber, int baudRate) override;
    // On Windows the number names the device itself; a followed device is
    // opened instead of it all the same (\\.\COM7, or COM7).
    void FollowDevice(const std::string& path) override { followed_ = path; }
    bool OpenFailedInUse() const override { return inUse_; }
    void Close() override;
    bool IsOpen() const override;
    bool FlushInput() override;
    bool FlushOutput() override;
    bool Write(const uint8_t* bytes, size_t count) override;
    size_t TransmitQueueCount() override;
    bool ByteReady() override;
    uint8_t ReadByte() override;

private:
    bool Configure(int baudRate);
    void StartRead();
    // Takes in a finished read; false when the read failed.
    bool CollectRead(bool wait);
    void OnReadDone();
    void PumpWrites();
    void CheckLineErrors();
    // Reported once until the port is opened again; a device that failed
    // is closed (its calls would fail at every turn).
    void ReportFailure(bool deviceGone);

    TCommApi& api_;
    void* handle_; // a HANDLE; INVALID_HANDLE_VALUE while closed
    std::unique_ptr<_OVERLAPPED> readOverlapped_;
    std::unique_ptr<_OVERLAPPED> writeOverlapped_;
    QWinEventNotifier* readNotifier_ = nullptr;
    bool reading_ = false;
    bool writing_ = false;
    uint8_t readBuffer_[512]{};
    std::vector<uint8_t> inFlight_; // handed to the driver, not confirmed sent
    std::deque<uint8_t> outQueue_;  // waiting for the write in flight to end
    std::deque<uint8_t> received_;
    bool failed_ = false;
    bool inUse_ = false;
    std::string followed_;
};
