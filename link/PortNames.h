// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Port names. The program names ports "COM" + number everywhere (settings
// file, status bar, port dialog, link tag); on Linux each name stands for a
// device by one fixed rule:
//   1. An explicit mapping wins: keys "COM1" to "COM256" of section "Ports"
//      in SysInfo.Ini (e.g. COM3=/dev/ttyUSB0), and for one run the
//      command line's --port/--device.
//   2. The USB serial devices a programming cable appears as, /dev/ttyUSB*
//      then /dev/ttyACM*, each in number order, take the numbers from COM1
//      on that the mapping leaves free.
//   3. /dev/ttyS* and every other device appear only when mapped.
// On Windows the system numbers its ports itself: COM7 is \\.\COM7, and
// only an explicit mapping of the number overrides that.
// A device that cannot be opened is not listed; listing never changes a
// device's line settings.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

inline constexpr int kMaxPortNumber = 256;
// The port dialog has a button for each of COM1 to COM20; it lists higher
// numbers under Other.
inline constexpr int kPortButtons = 20;
inline constexpr const char* kPortsSection = "Ports";

// The number formed by the characters after the first three ("COM12" gives
// 12); nothing when they are no number.
std::optional<int> PortNumberOf(const std::string& portName);
std::string PortName(int number); // "COM" + number
// Whether the path is of a family the rule numbers by itself (rule 2).
bool IsUsbSerialPath(const std::string& path);

struct PortDevice {
    int number;
    std::string device;
    bool operator==(const PortDevice&) const = default;
};
using PortMapping = std::map<int, std::string>; // number -> device path

// Every number with its device by the rule, openable or not. `devices` are
// the paths present on the machine in any order.
std::vector<PortDevice> AssignPorts(const PortMapping& mapped, const std::vector<std::string>& devices);
// The same, keeping only the devices `canOpen` accepts.
std::vector<PortDevice> ListPorts(const PortMapping& mapped, const std::vector<std::string>& devices,
                                  const std::function<bool(const std::string&)>& canOpen);

// The machine's devices, installed by the executables. Without one the
// machine has no serial devices (tests, and builds without a platform).
class TPortSystem {
public:
    virtual ~TPortSystem() = default;
    // Paths of the serial device nodes present (e.g. /dev/ttyUSB0).
    virtual std::vector<std::string> DevicePaths() = 0;
    // Whether the device opens for reading and writing, without changing
    // its settings; it is closed again at once.
    virtual bool CanOpen(const std::string& path) = 0;
    // The number the system itself gives the device, which it keeps over
    // the rule (Windows: \\.\COM7 is COM7); nothing when the rule numbers
    // it. An explicit mapping of the number still wins.
    virtual std::optional<int> OwnNumber(const std::string& /*path*/) { return std::nullopt; }
    // What the system tells of the device for people (its name, its USB
    // ids); empty when nothing.
    virtual std::string Description(const std::string& /*path*/) { return {}; }
};
TPortSystem* SetPortSystem(TPortSystem* system); // returns the previous one

// Section "Ports" of SysInfo.Ini, then the mappings of this run on top.
PortMapping CurrentPortMapping();
// The command line's choice for this run; never written to SysInfo.Ini. A
// relative path is taken from the working folder.
void MapPortForRun(int number, const std::string& device);
void ClearRunMappings();

// The available ports of this machine, in number order.
std::vector<PortDevice> EnumeratePorts();
// The device behind COM`number`, whether it opens or not.
std::optional<std::string> DeviceOfPort(int number);
// The port system's description of a device; empty without one.
std::string PortDescription(const std::string& device);

// Start-up: the port setting `comPort` in upper case; when it is not among
// `available` and that list is not empty, the first available port.
void ValidateComPort(std::string& comPort, const std::vector<PortDevice>& available);

// The command line may name the port of this run (--port): it becomes
// `comPort`. The settings file keeps its own choice unless the user picks
// another port.
void ChooseComPortForRun(std::string& comPort, const std::string& portName);
// What SaveSysInfo should write for the port setting `comPort` at exit.
std::string ComPortToSave(const std::string& comPort);
