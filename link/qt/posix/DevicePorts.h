// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The machine's serial devices for the port rule: the USB serial nodes in
// /dev, and a probe that opens a device without touching its settings.
#include "link/PortNames.h"

class TDevicePorts : public TPortSystem {
public:
    std::vector<std::string> DevicePaths() override;
    bool CanOpen(const std::string& path) override;
};
