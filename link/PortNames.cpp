// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/PortNames.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "base/IniFile.h"
#include "base/NumberText.h"
#include "settings/SysInfo.h"

namespace {

// The device families a programming cable shows up as, in listing order.
constexpr const char* kAutoFamilies[] = {"/dev/ttyUSB", "/dev/ttyACM"};

PortMapping& RunMappings()
{
    static PortMapping mappings;
    return mappings;
}

TPortSystem*& InstalledSystem()
{
    static TPortSystem* system = nullptr;
    return system;
}

struct RunChoice {
    std::string settingsValue;
    std::string chosen;
};
std::optional<RunChoice>& RunPortChoice()
{
    static std::optional<RunChoice> choice;
    return choice;
}

// Family rank and number of an automatically listed device.
std::optional<std::pair<size_t, int>> AutoKey(const std::string& path)
{
    for (size_t family = 0; family < std::size(kAutoFamilies); ++family) {
        std::string prefix = kAutoFamilies[family];
        if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::string digits = path.substr(prefix.size());
        if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        std::optional<int> n = ParseInteger(digits);
        if (!n)
            return std::nullopt;
        return std::make_pair(family, *n);
    }
    return std::nullopt;
}

// The mapping with the numbers the system gives its devices, under the
// explicit ones.
PortMapping WithOwnNumbers(PortMapping mapping, TPortSystem& system, const std::vector<std::string>& devices)
{
    for (const std::string& path : devices)
        if (std::optional<int> n = system.OwnNumber(path))
            mapping.emplace(*n, path);
    return mapping;
}

} // namespace

std::optional<int> PortNumberOf(const std::string& portName)
{
    if (portName.size() <= 3)
        return std::nullopt;
    return ParseInteger(portName.substr(3));
}

bool IsUsbSerialPath(const std::string& path)
{
    return std::any_of(std::begin(kAutoFamilies), std::end(kAutoFamilies),
                       [&](const char* family) { return path.rfind(family, 0) == 0; });
}

std::string PortName(int number)
{
    return "COM" + std::to_string(number);
}

std::vector<PortDevice> AssignPorts(const PortMapping& mapped, const std::vector<std::string>& devices)
{
    std::vector<PortDevice> ports;
    std::set<std::string> taken;
    for (const auto& [number, device] : mapped) {
        if (number < 1 || number > kMaxPortNumber || device.empty())
            continue;
        ports.push_back({number, device});
        taken.insert(device);
    }

    std::vector<std::pair<std::pair<size_t, int>, std::string>> automatic;
    for (const std::string& path : devices)
        if (std::optional<std::pair<size_t, int>> key = AutoKey(path); key && !taken.count(path))
            automatic.emplace_back(*key, path);
    std::sort(automatic.begin(), automatic.end());
    automatic.erase(std::unique(automatic.begin(), automatic.end()), automatic.end());

    int next = 1;
    for (const auto& entry : automatic) {
        while (next <= kMaxPortNumber && mapped.count(next))
            ++next;
        if (next > kMaxPortNumber)
            break;
        ports.push_back({next++, entry.second});
    }
    std::sort(ports.begin(), ports.end(), [](const PortDevice& a, const PortDevice& b) { return a.number < b.number; });
    return ports;
}

std::vector<PortDevice> ListPorts(const PortMapping& mapped, const std::vector<std::string>& devices,
                                  const std::function<bool(const std::string&)>& canOpen)
{
    std::vector<PortDevice> ports = AssignPorts(mapped, devices);
    std::erase_if(ports, [&](const PortDevice& p) { return !canOpen(p.device); });
    return ports;
}

TPortSystem* SetPortSystem(TPortSystem* system)
{
    TPortSystem* previous = InstalledSystem();
    InstalledSystem() = system;
    return previous;
}

PortMapping CurrentPortMapping()
{
    PortMapping mapping;
    TIniFile file(SysInfoPath());
    for (int n = 1; n <= kMaxPortNumber; ++n) {
        std::optional<std::string> device = file.Find(kPortsSection, PortName(n));
        if (device && !TrimBlanks(*device).empty())
            mapping[n] = TrimBlanks(*device);
    }
    for (const auto& [number, device] : RunMappings())
        mapping[number] = device;
    return mapping;
}

void MapPortForRun(int number, const std::string& device)
{
    // A path relative to the working folder ("links/cable-1") stays that
    // device when the port opens it; a bare name stays a name below /dev.
    std::error_code error;
    const bool relative = device.find('/') != std::string::npos && device.front() != '/';
    const std::filesystem::path absolute = relative ? std::filesystem::absolute(device, error)
                                                    : std::filesystem::path(device);
    RunMappings()[number] = error ? device : absolute.lexically_normal().string();
}

void ClearRunMappings()
{
    RunMappings().clear();
    RunPortChoice().reset();
}

std::vector<PortDevice> EnumeratePorts()
{
    TPortSystem* system = InstalledSystem();
    if (!system)
        return {};
    const std::vector<std::string> devices = system->DevicePaths();
    return ListPorts(WithOwnNumbers(CurrentPortMapping(), *system, devices), devices,
                     [system](const std::string& path) { return system->CanOpen(path); });
}

std::optional<std::string> DeviceOfPort(int number)
{
    TPortSystem* system = InstalledSystem();
    std::vector<std::string> present = system ? system->DevicePaths() : std::vector<std::string>{};
    PortMapping mapping = system ? WithOwnNumbers(CurrentPortMapping(), *system, present) : CurrentPortMapping();
    for (const PortDevice& p : AssignPorts(mapping, present))
        if (p.number == number)
            return p.device;
    return std::nullopt;
}

std::string PortDescription(const std::string& device)
{
    TPortSystem* system = InstalledSystem();
    return system ? system->Description(device) : std::string();
}

void ValidateComPort(std::string& comPort, const std::vector<PortDevice>& available)
{
    comPort = UpperAscii(comPort);
    if (available.empty())
        return;
    for (const PortDevice& p : available)
        if (PortName(p.number) == comPort)
            return;
    comPort = PortName(available.front().number);
}

void ChooseComPortForRun(std::string& comPort, const std::string& portName)
{
    std::string chosen = UpperAscii(portName);
    std::string settings = RunPortChoice() ? RunPortChoice()->settingsValue : comPort;
    RunPortChoice() = RunChoice{settings, chosen};
    comPort = chosen;
}

std::string ComPortToSave(const std::string& comPort)
{
    if (RunPortChoice() && comPort == RunPortChoice()->chosen)
        return RunPortChoice()->settingsValue;
    return comPort;
}
