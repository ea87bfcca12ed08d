// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/win/WinPorts.h"

#include <windows.h>
#include <initguid.h>
#include <devguid.h>
#include <setupapi.h>

#include <algorithm>
#include <cctype>

#include "base/NumberText.h"
#include "base/win/WideText.h"
#include "link/win/DeviceRegistry.h"

namespace {

const std::string kDevicePrefix = "\\\\.\\";

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The four hex digits after `key` ("VID_"), lower case; empty without.
std::string HexAfter(const std::string& upper, const std::string& key)
{
    const size_t at = upper.find(key);
    if (at == std::string::npos || at + key.size() + 4 > upper.size())
        return {};
    std::string digits = upper.substr(at + key.size(), 4);
    if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isxdigit(c); }))
        return {};
    return Lower(digits);
}

struct PortInfo {
    std::string friendlyName;
    std::string usbId;
};

// The present device of class Ports whose PortName is `comName`.
std::optional<PortInfo> FindPortInfo(const std::string& comName)
{
    HDEVINFO set = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::optional<PortInfo> found;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; !found && SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        HKEY key = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE)
            continue;
        const std::string portName = RegistryText(key, L"PortName");
        RegCloseKey(key);
        if (Lower(portName) != Lower(comName))
            continue;
        PortInfo info;
        info.friendlyName = DeviceProperty(set, device, SPDRP_FRIENDLYNAME);
        wchar_t instance[512] = {};
        if (SetupDiGetDeviceInstanceIdW(set, &device, instance, 511, nullptr))
            info.usbId = UsbIdOfInstance(Utf8FromWide(instance));
        found = info;
    }
    SetupDiDestroyDeviceInfoList(set);
    return found;
}

} // namespace

std::optional<int> ComNumberOfDevice(const std::string& path)
{
    std::string name = path.rfind(kDevicePrefix, 0) == 0 ? path.substr(kDevicePrefix.size()) : path;
    if (name.size() <= 3 || Lower(name.substr(0, 3)) != "com")
        return std::nullopt;
    const std::string digits = name.substr(3);
    if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    std::optional<int> n = ParseInteger(digits);
    if (!n || *n < 1 || *n > kMaxPortNumber)
        return std::nullopt;
    return n;
}

std::string UsbIdOfInstance(const std::string& instanceId)
{
    std::string upper = instanceId;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    const std::string vendor = HexAfter(upper, "VID_");
    const std::string product = HexAfter(upper, "PID_");
    return vendor.empty() || product.empty() ? std::string() : vendor + ":" + product;
}

std::vector<ComName> SerialCommMap()
{
    // Every serial port driver enters its COM names here, whatever bus the
    // port is on; the value names are the drivers' own device names.
    std::vector<ComName> map;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return map;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256] = {};
        DWORD nameSize = 255;
        wchar_t data[64] = {};
        DWORD dataSize = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        LONG result = RegEnumValueW(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result == ERROR_SUCCESS && type == REG_SZ)
            map.push_back({Utf8FromWide(name), Utf8FromWide(data)});
    }
    RegCloseKey(key);
    return map;
}

std::vector<std::string> TWinPorts::DevicePaths()
{
    std::vector<std::string> paths;
    for (const ComName& entry : SerialCommMap())
        if (ComNumberOfDevice(entry.name))
            paths.push_back(kDevicePrefix + entry.name);
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    return paths;
}

bool TWinPorts::CanOpen(const std::string& path)
{
    // Opening and closing a COM port leaves its line settings alone.
    const std::string device = path.rfind(kDevicePrefix, 0) == 0 ? path : kDevicePrefix + path;
    HANDLE handle = CreateFileW(WideFromUtf8(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(handle);
    return true;
}

std::optional<int> TWinPorts::OwnNumber(const std::string& path)
{
    return path.rfind(kDevicePrefix, 0) == 0 ? ComNumberOfDevice(path) : std::nullopt;
}

std::string TWinPorts::Description(const std::string& path)
{
    std::optional<int> n = ComNumberOfDevice(path);
    if (!n)
        return {};
    std::optional<PortInfo> info = FindPortInfo(PortName(*n));
    if (!info)
        return {};
    std::string text = info->friendlyName;
    if (!info->usbId.empty())
        text += (text.empty() ? "" : " ") + std::string("[USB ") + info->usbId + "]";
    return text;
}
