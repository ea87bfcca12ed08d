// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial devices and USB devices of the machine as sysfs describes
// them, and the chips programming cables are made with.
#include <optional>
#include <string>
#include <vector>

#include "link/PortNames.h"
#include "link/SystemView.h"

struct KnownChip {
    const char* vendor; // USB ids, lower-case hex
    const char* product;
    const char* name;
    const char* module;  // the kernel module that drives it
    const char* noteKey; // the doctor text about what goes wrong with it
};
// Nothing when no programming cable chip has these ids.
const KnownChip* FindChip(const std::string& vendor, const std::string& product);

struct UsbDevice {
    std::string sysPath; // /sys/devices/.../1-1
    std::string vendor;
    std::string product;
    std::string manufacturer;
    std::string productName;
    std::string Id() const { return vendor + ":" + product; }
};

struct SerialDevice {
    std::string path;              // /dev/ttyUSB0
    std::string byId;              // /dev/serial/by-id/..., empty when there is none
    std::optional<int> portNumber; // COM number under the port rule
    std::optional<UsbDevice> usb;  // the USB device it belongs to
    std::string driver;
    const KnownChip* chip = nullptr;
};

// Whether the path is one of the computer's built-in serial ports (ttyS*),
// which the doctor never opens unless the user names it.
bool IsBuiltInSerialPort(const std::string& path);

// /dev/ttyUSB* and /dev/ttyACM*, and the devices `mapping` names, with
// their COM numbers under the port rule.
std::vector<SerialDevice> FindSerialDevices(TSystemView& system, const PortMapping& mapping);
// Every USB device (not interface) the machine has.
std::vector<UsbDevice> FindUsbDevices(TSystemView& system);
// The names of the USB serial drivers loaded.
std::vector<std::string> LoadedSerialDrivers(TSystemView& system);
