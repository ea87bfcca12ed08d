// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/win/CommApi.h"

namespace {

class TSystemCommApi : public TCommApi {
public:
    HANDLE Open(const std::wstring& path) override
    {
        return ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OVERLAPPED, nullptr);
    }
    BOOL Close(HANDLE handle) override { return ::CloseHandle(handle); }
    BOOL GetState(HANDLE handle, DCB* dcb) override { return ::GetCommState(handle, dcb); }
    BOOL SetState(HANDLE handle, DCB* dcb) override { return ::SetCommState(handle, dcb); }
    BOOL SetTimeouts(HANDLE handle, COMMTIMEOUTS* timeouts) override { return ::SetCommTimeouts(handle, timeouts); }
    BOOL SetupQueues(HANDLE handle, DWORD in, DWORD out) override { return ::SetupComm(handle, in, out); }
    BOOL Escape(HANDLE handle, DWORD function) override { return ::EscapeCommFunction(handle, function); }
    BOOL Purge(HANDLE handle, DWORD flags) override { return ::PurgeComm(handle, flags); }
    BOOL ClearError(HANDLE handle, DWORD* errors, COMSTAT* status) override
    {
        return ::ClearCommError(handle, errors, status);
    }
    BOOL Read(HANDLE handle, void* buffer, DWORD count, OVERLAPPED* overlapped) override
    {
        return ::ReadFile(handle, buffer, count, nullptr, overlapped);
    }
    BOOL Write(HANDLE handle, const void* bytes, DWORD count, OVERLAPPED* overlapped) override
    {
        return ::WriteFile(handle, bytes, count, nullptr, overlapped);
    }
    BOOL Result(HANDLE handle, OVERLAPPED* overlapped, DWORD* transferred, BOOL wait) override
    {
        return ::GetOverlappedResult(handle, overlapped, transferred, wait);
    }
    BOOL Cancel(HANDLE handle) override { return ::CancelIo(handle); }
    DWORD LastError() override { return ::GetLastError(); }
};

} // namespace

TCommApi& SystemCommApi()
{
    static TSystemCommApi api;
    return api;
}
