// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/qt/win/WinSerialPort.h"

#include <QTimer>
#include <QWinEventNotifier>
#include <algorithm>

#include "base/win/WideText.h"
#include "link/PortNames.h"
#include "link/win/CommApi.h"

namespace {

// Errors of the receiving line that garble what arrives: the exchange
// cannot trust its bytes after one of them.
constexpr DWORD kLineErrors = CE_FRAME | CE_RXPARITY | CE_BREAK;

std::wstring DevicePath(const std::string& device)
{
    const std::string prefix = "\\\\.\\";
    return WideFromUtf8(device.rfind(prefix, 0) == 0 ? device : prefix + device);
}

} // namespace

TWinSerialPort::TWinSerialPort(TCommApi& api, QObject* parent)
    : QObject(parent), api_(api), handle_(INVALID_HANDLE_VALUE), readOverlapped_(std::make_unique<OVERLAPPED>()),
      writeOverlapped_(std::make_unique<OVERLAPPED>())
{
    readOverlapped_->hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    writeOverlapped_->hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    readNotifier_ = new QWinEventNotifier(readOverlapped_->hEvent, this);
    readNotifier_->setEnabled(false);
    connect(readNotifier_, &QWinEventNotifier::activated, this, &TWinSerialPort::OnReadDone);
}

TWinSerialPort::~TWinSerialPort()
{
    Close();
    delete readNotifier_;
    ::CloseHandle(readOverlapped_->hEvent);
    ::CloseHandle(writeOverlapped_->hEvent);
}

bool TWinSerialPort::IsOpen() const
{
    return handle_ != INVALID_HANDLE_VALUE;
}

bool TWinSerialPort::Open(int portNumber, int baudRate)
{
    Close();
    inUse_ = false;
    std::string device = followed_;
    if (device.empty()) {
        if (portNumber < 1 || portNumber > kMaxPortNumber)
            return false;
        // A port the listing does not know (a driver that leaves it out of
        // the registry) still opens by its number.
        device = DeviceOfPort(portNumber).value_or(PortName(portNumber));
    }
    HANDLE handle = api_.Open(DevicePath(device));
    if (handle == INVALID_HANDLE_VALUE) {
        // Windows opens a COM port for one program at a time; a second one
        // is refused access.
        const DWORD error = api_.LastError();
        inUse_ = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
        return false;
    }
    handle_ = handle;
    if (!Configure(baudRate)) {
        api_.Close(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return false;
    }
    failed_ = false;
    readNotifier_->setEnabled(true);
    StartRead();
    return true;
}

bool TWinSerialPort::Configure(int baudRate)
{
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!api_.GetState(handle_, &dcb))
        return false;
    dcb.BaudRate = static_cast<DWORD>(baudRate);
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = TWOSTOPBITS;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    // Errors are collected with ClearCommError; the driver must not stop
    // every read and write until then.
    dcb.fAbortOnError = FALSE;
    if (!api_.SetState(handle_, &dcb))
        return false;
    // No read timeouts: a read waits for its bytes, and it only ever asks
    // for the ones already received or for one. A write that takes far
    // longer than its bytes need at 4800 baud is a device that stopped.
    COMMTIMEOUTS timeouts{};
    timeouts.WriteTotalTimeoutMultiplier = 10;
    timeouts.WriteTotalTimeoutConstant = 2000;
    if (!api_.SetTimeouts(handle_, &timeouts))
        return false;
    api_.SetupQueues(handle_, 4096, 4096);
    api_.Purge(handle_, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
    // DCB's ENABLE already raises both lines; a device without modem lines
    // (Wine's pseudo-terminals) refuses them, which is no failure.
    api_.Escape(handle_, SETDTR);
    api_.Escape(handle_, SETRTS);
    return true;
}

void TWinSerialPort::Close()
{
    if (!IsOpen())
        return;
    readNotifier_->setEnabled(false);
    api_.Cancel(handle_);
    DWORD ignored = 0;
    if (reading_)
        api_.Result(handle_, readOverlapped_.get(), &ignored, TRUE);
    if (writing_)
        api_.Result(handle_, writeOverlapped_.get(), &ignored, TRUE);
    reading_ = writing_ = false;
    api_.Close(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    ::ResetEvent(readOverlapped_->hEvent);
    ::ResetEvent(writeOverlapped_->hEvent);
    inFlight_.clear();
    outQueue_.clear();
    received_.clear();
}

void TWinSerialPort::StartRead()
{
    // Asks for the bytes waiting in the driver, or waits for the next one;
    // a read that ends at once is taken in and the next one started.
    while (IsOpen() && !failed_ && !reading_) {
        DWORD errors = 0;
        COMSTAT status{};
        DWORD count = 1;
        if (api_.ClearError(handle_, &errors, &status))
            count = std::clamp<DWORD>(status.cbInQue, 1, sizeof readBuffer_);
        readOverlapped_->Internal = readOverlapped_->InternalHigh = 0;
        readOverlapped_->Offset = readOverlapped_->OffsetHigh = 0;
        if (!api_.Read(handle_, readBuffer_, count, readOverlapped_.get()) && api_.LastError() != ERROR_IO_PENDING) {
            ReportFailure(true);
            return;
        }
        reading_ = true;
        if (!CollectRead(false))
            return;
    }
}

bool TWinSerialPort::CollectRead(bool wait)
{
    if (!reading_)
        return true;
    DWORD n = 0;
    if (!api_.Result(handle_, readOverlapped_.get(), &n, wait ? TRUE : FALSE)) {
        if (api_.LastError() == ERROR_IO_INCOMPLETE)
            return false;
        reading_ = false;
        ReportFailure(true);
        return false;
    }
    reading_ = false;
    // Without read timeouts a read ends with at least one byte; one that
    // ends with none met the end of the device.
    if (n == 0) {
        ReportFailure(true);
        return false;
    }
    received_.insert(received_.end(), readBuffer_, readBuffer_ + n);
    CheckLineErrors();
    return true;
}

void TWinSerialPort::OnReadDone()
{
    const size_t before = received_.size();
    if (CollectRead(false))
        StartRead();
    if (received_.size() > before && Listener())
        Listener()->myPortTrigger(received_.size());
}

bool TWinSerialPort::ByteReady()
{
    // The link may ask while it keeps the event loop waiting.
    if (received_.empty() && IsOpen() && CollectRead(false))
        StartRead();
    return !received_.empty();
}

uint8_t TWinSerialPort::ReadByte()
{
    if (!ByteReady())
        return 0;
    const uint8_t b = received_.front();
    received_.pop_front();
    return b;
}

bool TWinSerialPort::FlushInput()
{
    if (!IsOpen())
        return true;
    received_.clear();
    return api_.Purge(handle_, PURGE_RXCLEAR) != FALSE;
}

bool TWinSerialPort::FlushOutput()
{
    if (!IsOpen())
        return true;
    outQueue_.clear();
    const bool purged = api_.Purge(handle_, PURGE_TXABORT | PURGE_TXCLEAR) != FALSE;
    if (writing_) {
        DWORD ignored = 0;
        api_.Result(handle_, writeOverlapped_.get(), &ignored, TRUE);
        writing_ = false;
        inFlight_.clear();
    }
    return purged;
}

bool TWinSerialPort::Write(const uint8_t* bytes, size_t count)
{
    if (!IsOpen() || failed_)
        return false;
    outQueue_.insert(outQueue_.end(), bytes, bytes + count);
    PumpWrites();
    return !failed_;
}

void TWinSerialPort::PumpWrites()
{
    while (IsOpen() && !failed_) {
        if (writing_) {
            DWORD n = 0;
            if (!api_.Result(handle_, writeOverlapped_.get(), &n, FALSE)) {
                if (api_.LastError() == ERROR_IO_INCOMPLETE)
                    return;
                writing_ = false;
                ReportFailure(true);
                return;
            }
            writing_ = false;
            // A write that ended short ran out of its time: nothing leaves.
            if (n < inFlight_.size()) {
                ReportFailure(true);
                return;
            }
            inFlight_.clear();
        }
        if (outQueue_.empty())
            return;
        inFlight_.assign(outQueue_.begin(), outQueue_.end());
        outQueue_.clear();
        writeOverlapped_->Internal = writeOverlapped_->InternalHigh = 0;
        writeOverlapped_->Offset = writeOverlapped_->OffsetHigh = 0;
        if (!api_.Write(handle_, inFlight_.data(), static_cast<DWORD>(inFlight_.size()), writeOverlapped_.get()) &&
            api_.LastError() != ERROR_IO_PENDING) {
            inFlight_.clear();
            ReportFailure(true);
            return;
        }
        writing_ = true;
    }
}

size_t TWinSerialPort::TransmitQueueCount()
{
    // The bytes of a device that failed never leave: the link must not
    // wait seconds for them before it hears of the failure.
    if (!IsOpen() || failed_)
        return 0;
    PumpWrites();
    DWORD errors = 0;
    COMSTAT status{};
    if (!api_.ClearError(handle_, &errors, &status)) {
        ReportFailure(true);
        return 0;
    }
    if (errors & kLineErrors)
        ReportFailure(false);
    if (failed_)
        return 0;
    size_t inDriver = status.cbOutQue;
    if (writing_)
        inDriver = std::max(inDriver, inFlight_.size());
    return outQueue_.size() + inDriver;
}

void TWinSerialPort::CheckLineErrors()
{
    DWORD errors = 0;
    COMSTAT status{};
    if (!api_.ClearError(handle_, &errors, &status))
        ReportFailure(true);
    else if (errors & kLineErrors)
        ReportFailure(false);
}

void TWinSerialPort::ReportFailure(bool deviceGone)
{
    if (failed_)
        return;
    failed_ = true;
    // No further reads on a port that failed: the read event stays quiet.
    readNotifier_->setEnabled(false);
    QTimer::singleShot(0, this, [this, deviceGone] {
        if (deviceGone)
            Close();
        if (Listener())
            Listener()->myPortTriggerLineError();
    });
}
