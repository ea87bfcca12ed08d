// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/win/DeviceRegistry.h"

#include "base/win/WideText.h"

std::string RegistryText(HKEY key, const wchar_t* name)
{
    wchar_t value[512] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return Utf8FromWide(value);
}

std::string DeviceProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property)
{
    wchar_t text[512] = {};
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, property, nullptr, reinterpret_cast<BYTE*>(text),
                                           sizeof text - sizeof(wchar_t), nullptr))
        return {};
    return Utf8FromWide(text);
}
