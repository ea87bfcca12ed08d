// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/qt/posix/QtSerialPort.h"

#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "link/PortNames.h"

TQtSerialPort::TQtSerialPort(QObject* parent) : QObject(parent)
{
    connect(&port_, &QSerialPort::readyRead, this, &TQtSerialPort::OnReadyRead);
    connect(&port_, &QSerialPort::errorOccurred, this, &TQtSerialPort::OnError);
}

TQtSerialPort::~TQtSerialPort()
{
    port_.disconnect(this);
    port_.close();
}

bool TQtSerialPort::Open(int portNumber, int baudRate)
{
    std::optional<std::string> device = followed_.empty() ? DeviceOfPort(portNumber) : followed_;
    if (!device)
        return false;
    if (port_.isOpen())
        port_.close();
    port_.setPortName(QString::fromStdString(*device));
    port_.setBaudRate(baudRate);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::TwoStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    // A pseudo-terminal has no modem lines and refuses DTR and RTS: that is
    // no failure of the port, so errors are not passed on while opening.
    opening_ = true;
    bool opened = port_.open(QIODevice::ReadWrite);
    if (opened) {
        port_.setDataTerminalReady(true);
        port_.setRequestToSend(true);
    }
    inUse_ = !opened && port_.error() == QSerialPort::PermissionError && HeldByAnotherProgram(*device);
    port_.clearError();
    opening_ = false;
    failed_ = false;
    return opened;
}

// Qt refuses a device whose lock file another program holds, and the system
// refuses one that another program opened exclusively (EBUSY); both come as
// a permission error, as does a device this user may not open (EACCES).
bool TQtSerialPort::HeldByAnotherProgram(const std::string& device)
{
    int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == EBUSY;
    ::close(fd);
    return true;
}

void TQtSerialPort::Close()
{
    if (port_.isOpen())
        port_.close();
}

bool TQtSerialPort::IsOpen() const
{
    return port_.isOpen();
}

bool TQtSerialPort::FlushInput()
{
    return !port_.isOpen() || port_.clear(QSerialPort::Input);
}

bool TQtSerialPort::FlushOutput()
{
    return !port_.isOpen() || port_.clear(QSerialPort::Output);
}

bool TQtSerialPort::Write(const uint8_t* bytes, size_t count)
{
    if (!port_.isOpen())
        return false;
    qint64 n = port_.write(reinterpret_cast<const char*>(bytes), static_cast<qint64>(count));
    // Qt would send the bytes from the event loop; the link blocks that
    // loop while it waits, so hand them to the device now.
    port_.flush();
    return n == static_cast<qint64>(count);
}

size_t TQtSerialPort::TransmitQueueCount()
{
    // The bytes of a device that failed never leave: the link must not
    // wait seconds for them before it hears of the failure.
    if (!port_.isOpen() || failed_)
        return 0;
    port_.flush();
    size_t queued = static_cast<size_t>(std::max<qint64>(0, port_.bytesToWrite()));
    int inDriver = 0;
    if (::ioctl(port_.handle(), TIOCOUTQ, &inDriver) == 0 && inDriver > 0)
        queued += static_cast<size_t>(inDriver);
    return queued;
}

bool TQtSerialPort::ByteReady()
{
    return port_.isOpen() && port_.bytesAvailable() > 0;
}

uint8_t TQtSerialPort::ReadByte()
{
    char c = 0;
    if (!port_.isOpen() || !port_.getChar(&c))
        return 0;
    return static_cast<uint8_t>(c);
}

void TQtSerialPort::OnReadyRead()
{
    qint64 n = port_.bytesAvailable();
    if (n > 0 && Listener())
        Listener()->myPortTrigger(static_cast<size_t>(n));
}

void TQtSerialPort::OnError(QSerialPort::SerialPortError error)
{
    if (opening_)
        return;
    switch (error) {
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
        ReportFailure();
        break;
    default:
        break;
    }
}

void TQtSerialPort::ReportFailure()
{
    // A device whose other end went away (cable pulled, pseudo-terminal
    // closed) reports the same error again at every turn of the event loop
    // until the port is closed. Close it and report once.
    port_.clearError();
    if (failed_)
        return;
    failed_ = true;
    QTimer::singleShot(0, this, [this] {
        Close();
        if (Listener())
            Listener()->myPortTriggerLineError();
    });
}
