// SPDX-License-Identifier: GPL-3.0-or-later
// The connection doctor on Windows: Device Manager's view of the cable (its
// chip, its driver, its problem code), the COM number Windows gave it, and
// whether the chosen port opens. The findings have the same ids and shape
// as on Linux, so the window, the command line and the exit codes need not
// know which system they run on.
#include <algorithm>
#include <cctype>

#include "link/DoctorTexts.h"
#include "link/WinMachineView.h"

namespace {

struct WinChip {
    const char* vendor;
    const char* name;
    const char* driverFrom; // where its Windows driver comes from
};

// By vendor: a cable maker may use another product id of the same chip maker.
constexpr WinChip kWinChips[] = {
    {"1a86", "CH340/CH341", "the chip maker WCH: CH341SER.EXE from www.wch-ic.com"},
    {"067b", "PL2303", "the chip maker Prolific: the PL2303 Windows driver from www.prolific.com.tw"},
    {"10c4", "CP210x", "the chip maker Silicon Labs: the CP210x VCP driver from www.silabs.com"},
    {"0403", "FTDI", "the chip maker FTDI: the VCP driver (CDM setup) from ftdichip.com"},
};

const WinChip* ChipOf(const WinDevice& d)
{
    for (const WinChip& chip : kWinChips)
        if (d.vendor == chip.vendor)
            return &chip;
    return nullptr;
}

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.rfind(start, 0) == 0;
}

// Prolific's drivers since 2012 name the chips they refuse so.
bool RefusedPl2303(const WinDevice& d)
{
    const std::string name = Upper(d.name);
    return d.vendor == "067b" && (d.problem == kProblemFailedStart || name.find("PHASED OUT") != std::string::npos ||
                                  name.find("CONTACT YOUR SUPPLIER") != std::string::npos);
}

enum class PortKind { Cable, BuiltIn, Unknown };

struct Port {
    SerialDevice serial;
    const WinDevice* device = nullptr; // the Ports device of this COM name
    PortKind kind = PortKind::Unknown;
    std::string Name() const { return PortName(*serial.portNumber); }
    std::string Label() const { return Name() + " (" + serial.path + ")"; }
    // What Device Manager lists it as.
    std::string Shown() const { return device && !device->name.empty() ? device->name : Name(); }
};

class WinDoctor {
public:
    WinDoctor(TWinMachineView& machine, const DoctorRequest& request) : machine_(machine), request_(request) {}

    DoctorReport Run()
    {
        devices_ = machine_.Devices();
        FindPorts();
        const bool anyCable = std::any_of(ports_.begin(), ports_.end(),
                                          [](const Port& p) { return p.kind != PortKind::BuiltIn; });
        bool troubled = false;
        for (const WinDevice& d : devices_)
            troubled = Trouble(d) || troubled;
        const Port* chosen = Chosen();
        if (!anyCable && !troubled && !(request_.chosenByUser && chosen)) {
            Add(Severity::Problem, "no-cable", DoctorText("NoCable"), DoctorText("NoCableFix"));
            Add(Severity::Ok, "drivers", DoctorText("WinWhereCables"));
        }
        for (const Port& p : ports_) {
            Describe(p);
            report_.devices.push_back(p.serial);
        }
        ChosenPort(chosen);
        return report_;
    }

private:
    void Add(Severity severity, const char* id, std::string what, std::string fix = {})
    {
        report_.findings.push_back({severity, id, std::move(what), std::move(fix)});
    }

    const WinDevice* PortDevice(const std::string& comName) const
    {
        for (const WinDevice& d : devices_)
            if (!d.portName.empty() && Upper(d.portName) == Upper(comName))
                return &d;
        return nullptr;
    }

    void FindPorts()
    {
        std::vector<int> numbers;
        for (const ComName& com : machine_.ComMap())
            if (std::optional<int> n = PortNumberOf(Upper(com.name)); n && Upper(com.name).rfind("COM", 0) == 0)
                numbers.push_back(*n);
        // A number the settings or this run map is that device, listed or not.
        for (const auto& [number, device] : request_.mapping)
            numbers.push_back(number);
        std::sort(numbers.begin(), numbers.end());
        numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
        for (int n : numbers) {
            Port p;
            p.serial.portNumber = n;
            auto mapped = request_.mapping.find(n);
            p.serial.path = mapped != request_.mapping.end() ? mapped->second : "\\\\.\\" + PortName(n);
            p.device = mapped != request_.mapping.end() ? nullptr : PortDevice(PortName(n));
            if (p.device) {
                const WinDevice& d = *p.device;
                if (!d.vendor.empty()) {
                    p.kind = PortKind::Cable;
                    p.serial.usb = UsbDevice{d.instanceId, d.vendor, d.product, {}, d.name};
                    p.serial.chip = FindChip(d.vendor, d.product);
                } else if (StartsWith(Upper(d.instanceId), "ACPI\\") || StartsWith(Upper(d.instanceId), "ROOT\\*PNP")) {
                    p.kind = PortKind::BuiltIn;
                }
                p.serial.driver = d.provider + (d.driverVersion.empty() ? "" : " " + d.driverVersion);
            }
            ports_.push_back(std::move(p));
        }
    }

    // A cable chip Device Manager shows with a problem; whether it was one.
    bool Trouble(const WinDevice& d)
    {
        const WinChip* chip = ChipOf(d);
        if (!chip || (d.problem == 0 && !RefusedPl2303(d)))
            return false;
        const std::string id = d.vendor + ":" + d.product;
        if (RefusedPl2303(d))
            Add(Severity::Problem, "chip-refused", DoctorText("WinChipRefused", {id, d.name}),
                DoctorText("WinChipRefusedFix"));
        else if (d.problem == kProblemFailedInstall || d.provider.empty())
            Add(Severity::Problem, "no-driver", DoctorText("WinNoDriver", {chip->name, id, d.name}),
                DoctorText("WinNoDriverFix", {chip->driverFrom, d.name}));
        else
            Add(Severity::Problem, "device-problem",
                DoctorText("WinDeviceProblem", {chip->name, id, d.name, std::to_string(d.problem)}),
                DoctorText("WinDeviceProblemFix", {d.name, chip->driverFrom}));
        return true;
    }

    void Describe(const Port& p)
    {
        const SerialDevice& s = p.serial;
        if (p.kind == PortKind::Cable) {
            std::string details = s.usb->Id();
            if (!p.device->name.empty())
                details += ", " + p.device->name;
            if (!s.driver.empty())
                details += ", " + DoctorText("WinDriver", {s.driver});
            if (s.chip)
                Add(Severity::Ok, "device", DoctorText("Device", {p.Label(), s.chip->name, details}));
            else
                Add(Severity::Warning, "device", DoctorText("DeviceUnknownChip", {p.Label(), p.device->name, details}),
                    DoctorText("DeviceUnknownChipFix"));
            if (*s.portNumber > kPortButtons)
                Add(Severity::Warning, "high-port", DoctorText("WinHighPort", {p.Name()}),
                    DoctorText("WinHighPortFix", {p.Name(), p.Shown()}));
        } else if (p.kind == PortKind::BuiltIn) {
            Add(Severity::Ok, "device", DoctorText("WinBuiltIn", {p.Label(), p.device->name}));
        } else {
            Add(Severity::Ok, "device", DoctorText("WinUndescribed", {p.Label()}));
        }
    }

    const Port* Chosen() const
    {
        std::optional<int> number = PortNumberOf(request_.chosenPort);
        for (const Port& p : ports_)
            if (number && p.serial.portNumber == number)
                return &p;
        return nullptr;
    }

    void ChosenPort(const Port* chosen)
    {
        const Port* firstCable = nullptr;
        for (const Port& p : ports_)
            if (!firstCable && p.kind == PortKind::Cable)
                firstCable = &p;
        // As at start-up, a port from the settings that is not there gives
        // way to the first cable; a port named for this run does not.
        if (!chosen && !request_.chosenByUser)
            chosen = firstCable;
        if (!chosen || (chosen->kind == PortKind::BuiltIn && !request_.chosenByUser)) {
            if (firstCable) {
                Add(Severity::Problem, "wrong-port",
                    DoctorText(chosen ? "WinBuiltInChosen" : "WrongPort", {request_.chosenPort, firstCable->Label()}),
                    DoctorText("WinWrongPortFix", {firstCable->Name(), firstCable->Shown(), request_.chosenPort}));
            } else if (!chosen && !ports_.empty()) {
                std::string names;
                for (const Port& p : ports_)
                    names += (names.empty() ? "" : ", ") + p.Name();
                Add(Severity::Problem, "wrong-port", DoctorText("WinNoSuchPort", {request_.chosenPort, names}),
                    DoctorText("WinNoSuchPortFix"));
            }
            return;
        }
        const OpenTry open = machine_.TryOpen(chosen->serial.path);
        const std::string label = chosen->Label();
        switch (open.result) {
        case OpenResult::Opened:
            Add(Severity::Ok, "permission", DoctorText("WinOpens", {label}));
            report_.probePort = chosen->serial.portNumber;
            report_.probeDevice = chosen->serial.path;
            return;
        case OpenResult::InUse:
            if (open.holder.empty())
                Add(Severity::Problem, "busy", DoctorText("WinBusy", {label}), DoctorText("WinBusyFix"));
            else
                Add(Severity::Problem, "busy", DoctorText("WinBusyBy", {label, open.holder}),
                    DoctorText("WinBusyByFix", {open.holder}));
            return;
        case OpenResult::Missing:
            Add(Severity::Problem, "port-gone", DoctorText("WinPortGone", {label}), DoctorText("WinPortGoneFix"));
            return;
        case OpenResult::Failed:
            Add(Severity::Problem, "open-failed", DoctorText("WinOpenFailed", {label, std::to_string(open.error)}),
                DoctorText("WinOpenFailedFix"));
            return;
        }
    }

    TWinMachineView& machine_;
    const DoctorRequest& request_;
    DoctorReport report_;
    std::vector<WinDevice> devices_;
    std::vector<Port> ports_;
};

} // namespace

DoctorReport ExamineWindows(TWinMachineView& machine, const DoctorRequest& request)
{
    return WinDoctor(machine, request).Run();
}
