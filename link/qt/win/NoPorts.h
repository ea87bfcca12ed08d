// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Stands in for the Windows list of COM ports until the Win32 adapter
// replaces it: the machine shows no serial device, and none opens.
#include "link/PortNames.h"

class TNoPorts : public TPortSystem {
public:
    std::vector<std::string> DevicePaths() override { return {}; }
    bool CanOpen(const std::string&) override { return false; }
};
