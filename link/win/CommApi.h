// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Win32 communications calls the serial port makes, behind an interface
// so that a test can play a device that vanishes, a port another program
// holds or a driver that refuses a write, which Wine cannot. Each call has
// the meaning, the arguments and the failure value of the Win32 function it
// is named after; after a failure LastError() tells why.
#include <windows.h>

#include <string>

class TCommApi {
public:
    virtual ~TCommApi() = default;
    // CreateFileW for reading and writing, shared with nobody, the device
    // existing, overlapped I/O. INVALID_HANDLE_VALUE on failure.
    virtual HANDLE Open(const std::wstring& path) = 0;
    virtual BOOL Close(HANDLE handle) = 0;
    virtual BOOL GetState(HANDLE handle, DCB* dcb) = 0;
    virtual BOOL SetState(HANDLE handle, DCB* dcb) = 0;
    virtual BOOL SetTimeouts(HANDLE handle, COMMTIMEOUTS* timeouts) = 0;
    virtual BOOL SetupQueues(HANDLE handle, DWORD inQueue, DWORD outQueue) = 0;
    virtual BOOL Escape(HANDLE handle, DWORD function) = 0;
    virtual BOOL Purge(HANDLE handle, DWORD flags) = 0;
    virtual BOOL ClearError(HANDLE handle, DWORD* errors, COMSTAT* status) = 0;
    // Overlapped: FALSE with ERROR_IO_PENDING while under way; the event of
    // `overlapped` is set when the call ends.
    virtual BOOL Read(HANDLE handle, void* buffer, DWORD count, OVERLAPPED* overlapped) = 0;
    virtual BOOL Write(HANDLE handle, const void* bytes, DWORD count, OVERLAPPED* overlapped) = 0;
    // FALSE with ERROR_IO_INCOMPLETE while under way and `wait` is FALSE.
    virtual BOOL Result(HANDLE handle, OVERLAPPED* overlapped, DWORD* transferred, BOOL wait) = 0;
    virtual BOOL Cancel(HANDLE handle) = 0;
    virtual DWORD LastError() = 0;
};

// The machine's own calls.
TCommApi& SystemCommApi();
