// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/DoctorDevices.h"

#include <algorithm>
#include <array>

#include "base/NumberText.h"

namespace {
constexpr std::array<KnownChip, 6> kChips = {{
    {"1a86", "7523", "CH340/CH341", "ch341", "NoteCh340"},
    {"067b", "2303", "PL2303", "pl2303", "NotePl2303"},
    {"067b", "23a3", "PL2303", "pl2303", "NotePl2303"},
    {"10c4", "ea60", "CP210x", "cp210x", "NoteCp210x"},
    {"0403", "6001", "FTDI", "ftdi_sio", "NoteFtdi"},
    {"0403", "6015", "FTDI", "ftdi_sio", "NoteFtdi"},
}};

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string Trimmed(const std::optional<std::string>& text)
{
    return text ? TrimBlanks(*text) : std::string();
}

std::string BaseName(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Parent(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::optional<UsbDevice> UsbDeviceAt(TSystemView& system, const std::string& sysPath)
{
    std::string vendor = Lower(Trimmed(system.Read(sysPath + "/idVendor")));
    std::string product = Lower(Trimmed(system.Read(sysPath + "/idProduct")));
    if (vendor.empty() || product.empty())
        return std::nullopt;
    return UsbDevice{sysPath, vendor, product, Trimmed(system.Read(sysPath + "/manufacturer")),
                     Trimmed(system.Read(sysPath + "/product"))};
}

// The USB device above a tty's device in the sysfs tree.
std::optional<UsbDevice> UsbDeviceOf(TSystemView& system, const std::string& ttyName)
{
    std::optional<std::string> at = system.Resolve("/sys/class/tty/" + ttyName + "/device");
    if (!at)
        return std::nullopt;
    for (std::string path = *at; path.size() > std::string("/sys/devices").size(); path = Parent(path))
        if (std::optional<UsbDevice> usb = UsbDeviceAt(system, path))
            return usb;
    return std::nullopt;
}
} // namespace

const KnownChip* FindChip(const std::string& vendor, const std::string& product)
{
    for (const KnownChip& chip : kChips)
        if (vendor == chip.vendor && product == chip.product)
            return &chip;
    return nullptr;
}

bool IsBuiltInSerialPort(const std::string& path)
{
    return path.rfind("/dev/ttyS", 0) == 0;
}

std::vector<SerialDevice> FindSerialDevices(TSystemView& system, const PortMapping& mapping)
{
    std::vector<std::string> paths;
    for (const std::string& name : system.List("/dev"))
        if (IsUsbSerialPath("/dev/" + name))
            paths.push_back("/dev/" + name);
    for (const auto& [number, device] : mapping)
        if (system.Exists(device) && std::find(paths.begin(), paths.end(), device) == paths.end())
            paths.push_back(device);

    // The stable names point at the nodes: ../../ttyUSB0.
    std::vector<std::pair<std::string, std::string>> byId;
    for (const std::string& name : system.List("/dev/serial/by-id"))
        if (std::optional<std::string> target = system.LinkTarget("/dev/serial/by-id/" + name))
            byId.emplace_back(BaseName(*target), "/dev/serial/by-id/" + name);
    std::sort(byId.begin(), byId.end());

    std::vector<SerialDevice> devices;
    for (const PortDevice& port : AssignPorts(mapping, paths)) {
        if (std::any_of(devices.begin(), devices.end(), [&](const SerialDevice& d) { return d.path == port.device; }))
            continue;
        if (!system.Exists(port.device))
            continue;
        SerialDevice d;
        d.path = port.device;
        d.portNumber = port.number;
        const std::string name = BaseName(port.device);
        for (const auto& [node, link] : byId)
            if (node == name) {
                d.byId = link;
                break;
            }
        d.usb = UsbDeviceOf(system, name);
        if (d.usb)
            d.chip = FindChip(d.usb->vendor, d.usb->product);
        if (std::optional<std::string> driver = system.LinkTarget("/sys/class/tty/" + name + "/device/driver"))
            d.driver = BaseName(*driver);
        devices.push_back(std::move(d));
    }
    return devices;
}

std::vector<UsbDevice> FindUsbDevices(TSystemView& system)
{
    std::vector<UsbDevice> found;
    for (const std::string& name : system.List("/sys/bus/usb/devices")) {
        // Interfaces ("1-1:1.0") carry no ids; devices do.
        if (name.find(':') != std::string::npos)
            continue;
        std::optional<std::string> at = system.Resolve("/sys/bus/usb/devices/" + name);
        if (std::optional<UsbDevice> usb = UsbDeviceAt(system, at.value_or("/sys/bus/usb/devices/" + name)))
            found.push_back(std::move(*usb));
    }
    std::sort(found.begin(), found.end(), [](const UsbDevice& a, const UsbDevice& b) { return a.sysPath < b.sysPath; });
    return found;
}

std::vector<std::string> LoadedSerialDrivers(TSystemView& system)
{
    std::vector<std::string> drivers = system.List("/sys/bus/usb-serial/drivers");
    // cdc_acm is no usb-serial driver but makes the ttyACM devices.
    if (system.Exists("/sys/module/cdc_acm"))
        drivers.push_back("cdc_acm");
    std::sort(drivers.begin(), drivers.end());
    return drivers;
}
