// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the link needs of a serial port, and how the port reports what it
// receives. The program's port sits on Qt SerialPort on Linux and on the
// Win32 communications API on Windows; the tests use a scripted one. Every
// call and every notification happens on the
// user-interface thread.
#include <cstddef>
#include <cstdint>
#include <string>

class TPortListener {
public:
    virtual ~TPortListener() = default;
    // n received bytes can be read now.
    virtual void myPortTrigger(size_t n) = 0;
    // The device stopped answering: a read or write failed or the device
    // went away (cable pulled, pseudo-terminal closed). On Windows a
    // framing, parity or break error of the line comes here too; Qt 6's
    // serial port on Linux reports none of them, so there a garbled byte
    // arrives as a byte and only a failing device comes here.
    virtual void myPortTriggerLineError() = 0;
};

class TSerialPort {
public:
    virtual ~TSerialPort() = default;

    // Opens port COM`portNumber` exclusively at `baudRate`, 8 data bits, no
    // parity, 2 stop bits, no flow control, DTR and RTS asserted where the
    // device has them. False when the port does not exist, is in use or
    // refuses the settings.
    virtual bool Open(int portNumber, int baudRate) = 0;
    // After an Open that failed: whether another program holds the port,
    // as far as the system tells.
    virtual bool OpenFailedInUse() const { return false; }
    // From now on Open opens this device, whatever the number's device is;
    // a run that must follow one cable through renames names it so. Ports
    // without devices of their own take no notice.
    virtual void FollowDevice(const std::string& /*path*/) {}
    // Harmless when the port is closed.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Discard received bytes not yet read / bytes not yet sent. Nothing to
    // discard on a closed port: true. False when the device refuses.
    virtual bool FlushInput() = 0;
    virtual bool FlushOutput() = 0;
    // Queues the bytes for sending without waiting for them to go out. False
    // when the port is closed or the device refuses them.
    virtual bool Write(const uint8_t* bytes, size_t count) = 0;
    // Bytes queued and not yet sent; 0 on a closed port.
    virtual size_t TransmitQueueCount() = 0;
    virtual bool ByteReady() = 0;
    // The next received byte; 0 when none is ready.
    virtual uint8_t ReadByte() = 0;

    // The notifications go to this listener (none: nowhere).
    void SetListener(TPortListener* listener) { listener_ = listener; }
    TPortListener* Listener() const { return listener_; }

private:
    TPortListener* listener_ = nullptr;
};
