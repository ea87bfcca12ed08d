// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows serial port on a made-up device: the settings it opens with,
// bytes arriving through the event loop, and the ways a device fails that
// Wine cannot play (a cable pulled, a port another program holds, a driver
// refusing a write, a garbled line).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <vector>

#include "link/qt/win/WinSerialPort.h"
#include "link/win/CommApi.h"

namespace {

using Bytes = std::vector<uint8_t>;

class FakeComm : public TCommApi {
public:
    DWORD openError = 0;  // Open fails with this error
    DWORD writeError = 0; // Write fails with this error
    DWORD lineErrors = 0; // the next ClearError reports these
    bool gone = false;    // the cable was pulled
    std::wstring openedPath;
    DCB state{};
    Bytes written;

    void Arrive(const Bytes& bytes)
    {
        input_.insert(input_.end(), bytes.begin(), bytes.end());
        if (pending_)
            Complete(pending_);
    }
    void Vanish()
    {
        gone = true;
        if (pending_)
            End(pending_, ERROR_OPERATION_ABORTED, 0);
    }

    HANDLE Open(const std::wstring& path) override
    {
        openedPath = path;
        if (openError)
            return Fail(openError), INVALID_HANDLE_VALUE;
        gone = false;
        return kHandle;
    }
    BOOL Close(HANDLE) override { return TRUE; }
    BOOL GetState(HANDLE, DCB* dcb) override { return *dcb = state, TRUE; }
    BOOL SetState(HANDLE, DCB* dcb) override { return state = *dcb, Alive(); }
    BOOL SetTimeouts(HANDLE, COMMTIMEOUTS*) override { return Alive(); }
    BOOL SetupQueues(HANDLE, DWORD, DWORD) override { return Alive(); }
    BOOL Escape(HANDLE, DWORD) override { return Alive(); }
    BOOL Purge(HANDLE, DWORD flags) override
    {
        if (flags & PURGE_RXCLEAR)
            input_.clear();
        return Alive();
    }
    BOOL ClearError(HANDLE, DWORD* errors, COMSTAT* status) override
    {
        *errors = lineErrors;
        lineErrors = 0;
        *status = {};
        status->cbInQue = static_cast<DWORD>(input_.size());
        return Alive();
    }
    BOOL Read(HANDLE, void* buffer, DWORD count, OVERLAPPED* overlapped) override
    {
        if (!Alive())
            return FALSE;
        ops_[overlapped] = {false, 0, 0, static_cast<uint8_t*>(buffer), count};
        ::ResetEvent(overlapped->hEvent);
        pending_ = overlapped;
        if (!input_.empty())
            return Complete(overlapped), TRUE;
        return Fail(ERROR_IO_PENDING);
    }
    BOOL Write(HANDLE, const void* bytes, DWORD count, OVERLAPPED* overlapped) override
    {
        if (writeError)
            return Fail(writeError);
        const uint8_t* b = static_cast<const uint8_t*>(bytes);
        written.insert(written.end(), b, b + count);
        ops_[overlapped] = {true, 0, count, nullptr, 0};
        ::SetEvent(overlapped->hEvent);
        return TRUE;
    }
    BOOL Result(HANDLE, OVERLAPPED* overlapped, DWORD* transferred, BOOL) override
    {
        Op& op = ops_[overlapped];
        if (!op.done)
            return Fail(ERROR_IO_INCOMPLETE);
        *transferred = op.transferred;
        return op.error ? Fail(op.error) : TRUE;
    }
    BOOL Cancel(HANDLE) override
    {
        if (pending_)
            End(pending_, ERROR_OPERATION_ABORTED, 0);
        return TRUE;
    }
    DWORD LastError() override { return error_; }

private:
    struct Op {
        bool done;
        DWORD error;
        DWORD transferred;
        uint8_t* buffer;
        DWORD count;
    };
    HANDLE const kHandle = reinterpret_cast<HANDLE>(0x1234);
    BOOL Fail(DWORD error) { return error_ = error, FALSE; }
    BOOL Alive() { return gone ? Fail(ERROR_DEVICE_NOT_CONNECTED) : TRUE; }
    void Complete(OVERLAPPED* overlapped)
    {
        Op& op = ops_[overlapped];
        DWORD n = 0;
        for (; n < op.count && !input_.empty(); ++n) {
            op.buffer[n] = input_.front();
            input_.pop_front();
        }
        End(overlapped, 0, n);
    }
    void End(OVERLAPPED* overlapped, DWORD error, DWORD n)
    {
        ops_[overlapped].done = true;
        ops_[overlapped].error = error;
        ops_[overlapped].transferred = n;
        pending_ = nullptr;
        ::SetEvent(overlapped->hEvent);
    }
    std::deque<uint8_t> input_;
    std::map<OVERLAPPED*, Op> ops_;
    OVERLAPPED* pending_ = nullptr;
    DWORD error_ = 0;
};

struct Listener : TPortListener {
    std::vector<size_t> triggers;
    int lineErrors = 0;
    void myPortTrigger(size_t n) override { triggers.push_back(n); }
    void myPortTriggerLineError() override { ++lineErrors; }
};

class WinSerialPort : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "WinSerialPortTest";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            static QCoreApplication app(argc, argv);
    }
    void SetUp() override { port.SetListener(&listener); }

    // Turns the event loop until `done`, as the program's loop would; the
    // events come from the fake at once, so the limit is never the answer.
    bool Until(const std::function<bool()>& done)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return done();
    }
    void Settle()
    {
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    FakeComm comm;
    TWinSerialPort port{comm};
    Listener listener;
};

TEST_F(WinSerialPort, OpensTheNumberedDeviceAt4800Baud8N2WithoutFlowControlAndPassesBytesBothWays)
{
    ASSERT_TRUE(port.Open(23, 4800));
    EXPECT_EQ(comm.openedPath, L"\\\\.\\COM23");
    EXPECT_EQ(comm.state.BaudRate, 4800u);
    EXPECT_EQ(comm.state.ByteSize, 8);
    EXPECT_EQ(comm.state.Parity, NOPARITY);
    EXPECT_EQ(comm.state.StopBits, TWOSTOPBITS);
    EXPECT_FALSE(comm.state.fOutxCtsFlow || comm.state.fOutxDsrFlow || comm.state.fOutX || comm.state.fInX);
    EXPECT_EQ(comm.state.fDtrControl, static_cast<DWORD>(DTR_CONTROL_ENABLE));
    EXPECT_EQ(comm.state.fRtsControl, static_cast<DWORD>(RTS_CONTROL_ENABLE));
    EXPECT_FALSE(comm.state.fAbortOnError);

    const uint8_t frame[] = {'R', 0, 0x10, 0x20};
    ASSERT_TRUE(port.Write(frame, sizeof frame));
    EXPECT_EQ(comm.written, Bytes(frame, frame + sizeof frame));
    EXPECT_EQ(port.TransmitQueueCount(), 0u);

    comm.Arrive({0x06, 0x41, 0x42});
    ASSERT_TRUE(Until([&] { return !listener.triggers.empty(); }));
    EXPECT_EQ(listener.triggers.front(), 3u);
    EXPECT_EQ(port.ReadByte(), 0x06);
    EXPECT_EQ(port.ReadByte(), 0x41);
    EXPECT_EQ(port.ReadByte(), 0x42);
    EXPECT_FALSE(port.ByteReady());
    // The next bytes are read too, also while the loop is kept waiting.
    comm.Arrive({0x07});
    EXPECT_TRUE(port.ByteReady());
    EXPECT_EQ(port.ReadByte(), 0x07);
    EXPECT_EQ(listener.lineErrors, 0);
}

TEST_F(WinSerialPort, APortAnotherProgramHoldsIsToldApartFromOneThatIsMissing)
{
    comm.openError = ERROR_ACCESS_DENIED;
    EXPECT_FALSE(port.Open(5, 4800));
    EXPECT_TRUE(port.OpenFailedInUse());
    comm.openError = ERROR_SHARING_VIOLATION;
    EXPECT_FALSE(port.Open(5, 4800));
    EXPECT_TRUE(port.OpenFailedInUse());
    comm.openError = ERROR_FILE_NOT_FOUND;
    EXPECT_FALSE(port.Open(5, 4800));
    EXPECT_FALSE(port.OpenFailedInUse());
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(WinSerialPort, EachWayTheLineFailsIsReportedOnceUntilThePortOpensAgain)
{
    // The cable pulled while a read waits: one report, the port closed.
    ASSERT_TRUE(port.Open(5, 4800));
    comm.Vanish();
    ASSERT_TRUE(Until([&] { return listener.lineErrors > 0; }));
    Settle();
    EXPECT_EQ(listener.lineErrors, 1);
    EXPECT_FALSE(port.IsOpen());

    // A driver that refuses a write.
    ASSERT_TRUE(port.Open(5, 4800));
    comm.writeError = ERROR_BAD_COMMAND;
    const uint8_t b = 0x52;
    EXPECT_FALSE(port.Write(&b, 1));
    EXPECT_FALSE(port.Write(&b, 1));
    EXPECT_EQ(port.TransmitQueueCount(), 0u);
    ASSERT_TRUE(Until([&] { return listener.lineErrors > 1; }));
    Settle();
    EXPECT_EQ(listener.lineErrors, 2);

    // A framing error garbles what arrives.
    comm.writeError = 0;
    ASSERT_TRUE(port.Open(5, 4800));
    comm.lineErrors = CE_FRAME;
    comm.Arrive({0x55});
    ASSERT_TRUE(Until([&] { return listener.lineErrors > 2; }));
    Settle();
    EXPECT_EQ(listener.lineErrors, 3);
}

} // namespace
