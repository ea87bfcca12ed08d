// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/win/WinMachine.h"

#include <windows.h>
#include <cfgmgr32.h>
#include <devguid.h>
#include <setupapi.h>

#include <algorithm>

#include "base/win/WideText.h"
#include "link/win/DeviceRegistry.h"
#include "link/win/WinPorts.h"

namespace {

const std::string kDevicePrefix = "\\\\.\\";

// Values of the device's hardware key (DIREG_DEV) or driver key (DIREG_DRV);
// a device without a driver has no driver key.
void ReadKey(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD which,
             std::initializer_list<std::pair<const wchar_t*, std::string*>> values)
{
    HKEY key = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, which, KEY_READ);
    if (key == INVALID_HANDLE_VALUE)
        return;
    for (const auto& [name, into] : values)
        *into = RegistryText(key, name);
    RegCloseKey(key);
}

void Collect(HDEVINFO set, std::vector<WinDevice>& found)
{
    if (set == INVALID_HANDLE_VALUE)
        return;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        wchar_t instance[512] = {};
        if (!SetupDiGetDeviceInstanceIdW(set, &device, instance, 511, nullptr))
            continue;
        WinDevice d;
        d.instanceId = Utf8FromWide(instance);
        if (std::any_of(found.begin(), found.end(), [&](const WinDevice& f) { return f.instanceId == d.instanceId; }))
            continue;
        const std::string usbId = UsbIdOfInstance(d.instanceId);
        if (!usbId.empty()) {
            d.vendor = usbId.substr(0, 4);
            d.product = usbId.substr(5);
        }
        d.name = DeviceProperty(set, device, SPDRP_FRIENDLYNAME);
        if (d.name.empty())
            d.name = DeviceProperty(set, device, SPDRP_DEVICEDESC);
        ReadKey(set, device, DIREG_DEV, {{L"PortName", &d.portName}});
        ReadKey(set, device, DIREG_DRV, {{L"ProviderName", &d.provider}, {L"DriverVersion", &d.driverVersion}});
        ULONG status = 0;
        ULONG problem = 0;
        if (CM_Get_DevNode_Status(&status, &problem, device.DevInst, 0) == CR_SUCCESS && (status & DN_HAS_PROBLEM))
            d.problem = problem;
        // Hubs and other devices without ids or a port are no cable.
        if (!d.vendor.empty() || !d.portName.empty())
            found.push_back(std::move(d));
    }
    SetupDiDestroyDeviceInfoList(set);
}

} // namespace

std::vector<WinDevice> TWinMachine::Devices()
{
    std::vector<WinDevice> found;
    // Every serial port, on whatever bus, then the USB devices: a cable
    // without a driver is in no class yet.
    Collect(SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT), found);
    Collect(SetupDiGetClassDevsW(nullptr, L"USB", nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT), found);
    return found;
}

std::vector<ComName> TWinMachine::ComMap()
{
    return SerialCommMap();
}

OpenTry TWinMachine::TryOpen(const std::string& path)
{
    const std::string device = ComNumberOfDevice(path) && path.rfind(kDevicePrefix, 0) != 0 ? kDevicePrefix + path
                                                                                            : path;
    OpenTry result;
    HANDLE handle = CreateFileW(WideFromUtf8(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        result.error = GetLastError();
        switch (result.error) {
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            // Windows does not tell which program holds a device; finding
            // out would need every process's handles and the rights for them.
            result.result = OpenResult::InUse;
            break;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DEV_NOT_EXIST:
            result.result = OpenResult::Missing;
            break;
        default:
            result.result = OpenResult::Failed;
        }
        return result;
    }
    // Only a serial port has line settings to read.
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (GetCommState(handle, &dcb)) {
        result.result = OpenResult::Opened;
    } else {
        result.error = GetLastError();
        result.result = OpenResult::Failed;
    }
    CloseHandle(handle);
    return result;
}
