// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the connection doctor reads of a Windows machine: the devices Device
// Manager shows (USB devices and serial ports, with their driver and
// problem code), the registry's map of COM names, and whether a COM port
// opens. The real view is link/win/WinMachine; the tests hand the doctor a
// made-up machine.
#include <string>
#include <vector>

#include "link/Doctor.h"

struct WinDevice {
    std::string name;       // the friendly name Device Manager shows
    std::string instanceId; // "USB\VID_1A86&PID_7523\5&2F1A3B&0&2"
    std::string vendor;     // USB ids, lower-case hex; empty when not USB
    std::string product;
    std::string portName; // "COM5" for a serial port; empty otherwise
    std::string provider; // the driver's provider; empty without a driver
    std::string driverVersion;
    unsigned problem = 0; // Device Manager's problem code; 0 when it works
};

// Device Manager's problem codes the doctor explains.
inline constexpr unsigned kProblemFailedStart = 10;   // "This device cannot start."
inline constexpr unsigned kProblemFailedInstall = 28; // "The drivers for this device are not installed."

struct ComName {
    std::string device; // the driver's device, "\Device\VCP0"
    std::string name;   // "COM5"
};

enum class OpenResult { Opened, Missing, InUse, Failed };

struct OpenTry {
    OpenResult result = OpenResult::Failed;
    unsigned error = 0; // the system's error number when it did not open
    std::string holder; // the program that holds the port, when the system says
};

class TWinMachineView {
public:
    virtual ~TWinMachineView() = default;
    // The present USB devices and serial ports, each once.
    virtual std::vector<WinDevice> Devices() = 0;
    // HARDWARE\DEVICEMAP\SERIALCOMM: every COM name a driver made.
    virtual std::vector<ComName> ComMap() = 0;
    // Opens the port "COM5" for reading and writing and closes it at once.
    virtual OpenTry TryOpen(const std::string& comName) = 0;
};

DoctorReport ExamineWindows(TWinMachineView& machine, const DoctorRequest& request);
