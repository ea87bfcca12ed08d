// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The machine's COM ports on Windows: the names the registry lists under
// HARDWARE\DEVICEMAP\SERIALCOMM, each as its device \\.\COMn, described by
// SetupAPI's friendly name and USB ids.
#include "link/PortNames.h"
#include "link/WinMachineView.h"

class TWinPorts : public TPortSystem {
public:
    std::vector<std::string> DevicePaths() override;
    bool CanOpen(const std::string& path) override;
    std::optional<int> OwnNumber(const std::string& path) override;
    std::string Description(const std::string& path) override;
};

// The registry's map of the drivers' devices to their COM names.
std::vector<ComName> SerialCommMap();
// "\\.\COM7" and "COM7" give 7; nothing for other names.
std::optional<int> ComNumberOfDevice(const std::string& path);
// The USB ids of a device instance ("USB\VID_1A86&PID_7523\5&..." gives
// "1a86:7523"); empty when it has none.
std::string UsbIdOfInstance(const std::string& instanceId);
