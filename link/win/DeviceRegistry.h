// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts of the registry and of SetupAPI's device properties, as UTF-8; empty
// when the value is missing or not a text. For the Win32 adapters only.
#include <windows.h>
#include <setupapi.h>

#include <string>

std::string RegistryText(HKEY key, const wchar_t* name);
std::string DeviceProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property);
