// SPDX-License-Identifier: GPL-3.0-or-later
// This computer's facts on Windows: the serial number the first physical
// drive reports in its storage properties, which needs no administrator.
#include "link/MachineId.h"

#include <windows.h>
#include <winioctl.h>

#include <vector>

namespace {

std::string Trimmed(std::string text)
{
    const char* blanks = " \t\r\n";
    const size_t begin = text.find_first_not_of(blanks);
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(blanks) - begin + 1);
}

// Empty where the drive cannot be opened or tells no serial (Wine's drives
// tell none): the identification string has its fixed word for that.
std::string FirstDriveSerial()
{
    HANDLE drive = CreateFileW(L"\\\\.\\PhysicalDrive0", 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               0, nullptr);
    if (drive == INVALID_HANDLE_VALUE)
        return {};
    STORAGE_PROPERTY_QUERY query{};
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    std::vector<char> buffer(4096);
    DWORD returned = 0;
    const bool asked = DeviceIoControl(drive, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, buffer.data(),
                                       static_cast<DWORD>(buffer.size()), &returned, nullptr);
    CloseHandle(drive);
    if (!asked || returned < sizeof(STORAGE_DEVICE_DESCRIPTOR))
        return {};
    const auto* descriptor = reinterpret_cast<const STORAGE_DEVICE_DESCRIPTOR*>(buffer.data());
    const DWORD offset = descriptor->SerialNumberOffset;
    if (offset == 0 || offset >= returned)
        return {};
    const char* serial = buffer.data() + offset;
    size_t length = 0;
    while (offset + length < returned && serial[length] != '\0')
        ++length;
    return Trimmed(std::string(serial, length));
}

} // namespace

const MachineFacts& ThisMachine()
{
    static const MachineFacts facts = [] {
        MachineFacts read;
        read.diskSerial = FirstDriveSerial();
        read.cpuRegisters = ReadCpuRegisters();
        return read;
    }();
    return facts;
}
