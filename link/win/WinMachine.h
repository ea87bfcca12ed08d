// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// This Windows machine as the doctor reads it: SetupAPI over the present
// USB devices and the Ports class, the configuration manager's problem
// codes, the driver keys, the registry's SERIALCOMM map and CreateFileW.
#include "link/WinMachineView.h"

class TWinMachine : public TWinMachineView {
public:
    std::vector<WinDevice> Devices() override;
    std::vector<ComName> ComMap() override;
    OpenTry TryOpen(const std::string& path) override;
};
