// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Doctor.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <sstream>

#include "link/DoctorTexts.h"
#include "link/WinMachineView.h"

namespace {

struct Process {
    std::string pid;
    std::string name;
    std::vector<std::string> files; // what its descriptors point at
};

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::string FirstLine(const std::string& text)
{
    std::string line = text.substr(0, text.find('\n'));
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

// The processes this user may look into: /proc/PID/comm and the targets of
// /proc/PID/fd/* (other users' descriptors are not readable).
std::vector<Process> ScanProcesses(TSystemView& system)
{
    std::vector<Process> processes;
    for (const std::string& pid : system.List("/proc")) {
        if (pid.empty() || !std::all_of(pid.begin(), pid.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        Process p{pid, FirstLine(system.Read("/proc/" + pid + "/comm").value_or("")), {}};
        for (const std::string& fd : system.List("/proc/" + pid + "/fd"))
            if (std::optional<std::string> target = system.LinkTarget("/proc/" + pid + "/fd/" + fd))
                p.files.push_back(*target);
        processes.push_back(std::move(p));
    }
    return processes;
}

bool IsRunning(const std::vector<Process>& processes, const std::string& name)
{
    return std::any_of(processes.begin(), processes.end(), [&](const Process& p) { return p.name == name; });
}

std::string ModeText(unsigned mode)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04o", mode & 07777u);
    return text;
}

std::string PortLabel(const SerialDevice& d)
{
    return d.portNumber ? PortName(*d.portNumber) + " (" + d.path + ")" : d.path;
}

class Doctor {
public:
    Doctor(TSystemView& system, const DoctorRequest& request) : system_(system), request_(request) {}

    DoctorReport Run()
    {
        if (system_.List("/dev").empty() && !system_.Exists("/sys/class/tty")) {
            report_.couldRun = false;
            Add(Severity::Problem, "cannot-run", DoctorText("CouldNotRun"));
            return report_;
        }
        report_.devices = FindSerialDevices(system_, request_.mapping);
        usb_ = FindUsbDevices(system_);
        const bool anyCable = std::any_of(report_.devices.begin(), report_.devices.end(),
                                          [](const SerialDevice& d) { return IsUsbSerialPath(d.path); });
        const std::vector<const UsbDevice*> orphans = ChipsWithoutTty();
        // A device named for this run stands in for the cable.
        const bool named = request_.chosenByUser && ChosenDevice() != nullptr;
        if (!anyCable && orphans.empty() && !named)
            NoCable();
        if (anyCable || !orphans.empty()) {
            processes_ = ScanProcesses(system_);
        }
        for (const UsbDevice* usb : orphans) {
            const KnownChip* chip = FindChip(usb->vendor, usb->product);
            Add(Severity::Problem, "no-tty", DoctorText("NoTty", {chip->name, usb->Id()}),
                DoctorText("NoTtyFix", {chip->module}));
        }
        for (const SerialDevice& d : report_.devices) {
            Describe(d);
            Permission(d);
            Holders(d);
        }
        if (anyCable || !orphans.empty()) {
            KernelLog();
            Brltty();
            ModemManager();
        }
        ChosenPort();
        return report_;
    }

private:
    void Add(Severity severity, const char* id, std::string what, std::string fix = {})
    {
        report_.findings.push_back({severity, id, std::move(what), std::move(fix)});
    }

    // USB devices with a cable chip that no tty belongs to.
    std::vector<const UsbDevice*> ChipsWithoutTty() const
    {
        std::vector<const UsbDevice*> orphans;
        for (const UsbDevice& usb : usb_) {
            if (!FindChip(usb.vendor, usb.product))
                continue;
            bool hasTty = std::any_of(report_.devices.begin(), report_.devices.end(),
                                      [&](const SerialDevice& d) { return d.usb && d.usb->sysPath == usb.sysPath; });
            if (!hasTty)
                orphans.push_back(&usb);
        }
        return orphans;
    }

    void NoCable()
    {
        Add(Severity::Problem, "no-cable", DoctorText("NoCable"), DoctorText("NoCableFix"));
        std::vector<std::string> drivers = LoadedSerialDrivers(system_);
        std::string list;
        for (const std::string& d : drivers)
            list += (list.empty() ? "" : ", ") + d;
        if (drivers.empty())
            Add(Severity::Ok, "drivers", DoctorText("NoDriverLoaded"));
        else
            Add(Severity::Ok, "drivers", DoctorText("DriversLoaded", {list}));
    }

    void Describe(const SerialDevice& d)
    {
        std::string details;
        auto add = [&details](const std::string& part) {
            if (!part.empty())
                details += (details.empty() ? "" : ", ") + part;
        };
        std::string kind = d.chip ? d.chip->name : std::string();
        if (d.usb) {
            add(d.usb->Id());
            add(d.usb->manufacturer);
            add(d.usb->productName);
            if (kind.empty())
                kind = d.usb->productName.empty() ? d.usb->Id() : d.usb->productName;
        }
        if (!d.driver.empty())
            add("driver " + d.driver);
        if (!d.byId.empty())
            add(DoctorText("StableName", {d.byId}));
        if (kind.empty())
            kind = d.path;
        if (d.chip) {
            std::string what = DoctorText("Device", {PortLabel(d), kind, details});
            Add(Severity::Ok, "device", what + " " + DoctorText(d.chip->noteKey));
        } else if (d.usb) {
            Add(Severity::Warning, "device", DoctorText("DeviceUnknownChip", {PortLabel(d), kind, details}),
                DoctorText("DeviceUnknownChipFix"));
        } else {
            Add(Severity::Ok, "device", DoctorText("DeviceNotUsb", {PortLabel(d)}));
        }
    }

    void Permission(const SerialDevice& d)
    {
        if (system_.MayOpen(d.path)) {
            Add(Severity::Ok, "permission", DoctorText("MayOpen", {d.path}));
            return;
        }
        std::optional<NodeInfo> node = system_.Node(d.path);
        if (!node)
            return; // gone meanwhile
        const std::string group = system_.GroupName(node->gid);
        const std::string mode = ModeText(node->mode);
        if ((node->mode & 060u) != 060u) {
            Add(Severity::Problem, "permission", DoctorText("GroupMayNotOpen", {d.path, group, mode}),
                DoctorText("GroupMayNotOpenFix", {d.path}));
            return;
        }
        UserGroups user = system_.User();
        auto has = [&](const std::vector<unsigned>& groups) {
            return std::find(groups.begin(), groups.end(), node->gid) != groups.end();
        };
        if (!has(user.session) && has(user.configured)) {
            Add(Severity::Problem, "new-login", DoctorText("NewLogin", {d.path, group}), DoctorText("NewLoginFix"));
            return;
        }
        Add(Severity::Problem, "permission", DoctorText("NoPermission", {d.path, group, mode}),
            DoctorText("NoPermissionFix", {group, user.name.empty() ? "$USER" : user.name}));
    }

    void Holders(const SerialDevice& d)
    {
        std::set<std::string> names = {d.path};
        if (std::optional<std::string> real = system_.Resolve(d.path))
            names.insert(*real);
        for (const Process& p : processes_) {
            if (std::none_of(p.files.begin(), p.files.end(), [&](const std::string& f) { return names.count(f) > 0; }))
                continue;
            if (p.name == "ModemManager") {
                mmProbing_ = true;
                Add(Severity::Problem, "modemmanager", DoctorText("ModemManagerProbing", {d.path}),
                    DoctorText("ModemManagerFix"));
            } else {
                Add(Severity::Problem, "busy", DoctorText("Busy", {d.path, p.name, p.pid}),
                    DoctorText("BusyFix", {p.name, p.pid}));
            }
        }
    }

    void KernelLog()
    {
        std::optional<std::string> log = system_.KernelLog();
        if (!log) {
            Add(Severity::Warning, "kernel-log", DoctorText("KernelLogUnreadable"),
                DoctorText("KernelLogUnreadableFix"));
            return;
        }
        static const char* const kRefusals[] = {"unsupported", "counterfeit", "phased out", "contact your supplier",
                                                "unknown device type"};
        std::istringstream lines(*log);
        std::string line;
        std::string refused;
        std::string brltty;
        while (std::getline(lines, line)) {
            const std::string lower = Lower(line);
            if (Contains(lower, "pl2303") && std::any_of(std::begin(kRefusals), std::end(kRefusals),
                                                         [&](const char* r) { return Contains(lower, r); }))
                refused = FirstLine(line);
            if (Contains(lower, "brltty") && (Contains(lower, "claimed") || Contains(lower, "usbfs")))
                brltty = FirstLine(line);
        }
        if (!refused.empty())
            Add(Severity::Problem, "chip-refused", DoctorText("ChipRefused", {refused}), DoctorText("ChipRefusedFix"));
        if (!brltty.empty()) {
            brlttySeen_ = true;
            Add(Severity::Problem, "brltty", DoctorText("BrlttyLog", {brltty}), DoctorText("BrlttyFix"));
        }
    }

    // The chips of the cables present (with or without a tty).
    std::vector<const UsbDevice*> CableChips() const
    {
        std::vector<const UsbDevice*> chips;
        for (const UsbDevice& usb : usb_)
            if (FindChip(usb.vendor, usb.product))
                chips.push_back(&usb);
        for (const SerialDevice& d : report_.devices)
            if (d.chip &&
                std::none_of(chips.begin(), chips.end(), [&](const UsbDevice* u) { return u->Id() == d.usb->Id(); }))
                chips.push_back(&*d.usb);
        return chips;
    }

    // Whether brltty's udev rules name these ids (ENV{PRODUCT}=="1a86/7523/*"
    // or ATTRS{idVendor}=="1a86", ATTRS{idProduct}=="7523").
    bool RulesClaim(const UsbDevice& usb)
    {
        static const char* const kRuleFolders[] = {"/usr/lib/udev/rules.d", "/lib/udev/rules.d", "/etc/udev/rules.d"};
        for (const char* folder : kRuleFolders) {
            for (const std::string& name : system_.List(folder)) {
                if (!Contains(name, "brltty"))
                    continue;
                std::istringstream rules(Lower(system_.Read(std::string(folder) + "/" + name).value_or("")));
                std::string line;
                while (std::getline(rules, line)) {
                    if (!line.empty() && line[0] == '#')
                        continue;
                    if (Contains(line, "\"" + usb.vendor + "/" + usb.product + "/") ||
                        (Contains(line, "idvendor}==\"" + usb.vendor + "\"") &&
                         Contains(line, "idproduct}==\"" + usb.product + "\"")))
                        return true;
                }
            }
        }
        return false;
    }

    void Brltty()
    {
        const bool running = IsRunning(processes_, "brltty");
        const bool installed = running || system_.Exists("/usr/bin/brltty") || system_.Exists("/bin/brltty") ||
                               system_.Exists("/usr/sbin/brltty");
        if (!installed || brlttySeen_)
            return;
        for (const UsbDevice* usb : CableChips()) {
            if (!RulesClaim(*usb))
                continue;
            const KnownChip* chip = FindChip(usb->vendor, usb->product);
            Add(running ? Severity::Problem : Severity::Warning, "brltty",
                DoctorText("Brltty", {DoctorText(running ? "Running" : "Installed"), chip->name}),
                DoctorText("BrlttyFix"));
            return;
        }
    }

    void ModemManager()
    {
        if (!mmProbing_ && IsRunning(processes_, "ModemManager"))
            Add(Severity::Warning, "modemmanager", DoctorText("ModemManagerRunning"), DoctorText("ModemManagerFix"));
    }

    const SerialDevice* ChosenDevice() const
    {
        std::optional<int> number = PortNumberOf(request_.chosenPort);
        for (const SerialDevice& d : report_.devices)
            if (number && d.portNumber == number)
                return &d;
        return nullptr;
    }

    void ChosenPort()
    {
        const SerialDevice* chosen = ChosenDevice();
        const SerialDevice* firstCable = nullptr;
        for (const SerialDevice& d : report_.devices)
            if (!firstCable && IsUsbSerialPath(d.path))
                firstCable = &d;
        // As at start-up, a port from the settings that has no device gives
        // way to the first cable; a port named for this run does not.
        if (!chosen && !request_.chosenByUser)
            chosen = firstCable;
        if (!chosen) {
            if (firstCable)
                Add(Severity::Problem, "wrong-port",
                    DoctorText("WrongPort", {request_.chosenPort, PortLabel(*firstCable)}),
                    DoctorText("WrongPortFix", {PortName(*firstCable->portNumber)}));
            return;
        }
        if (IsBuiltInSerialPort(chosen->path) && !request_.chosenByUser) {
            Add(Severity::Warning, "built-in-port",
                DoctorText("BuiltInPort", {PortName(*chosen->portNumber), chosen->path}), DoctorText("BuiltInPortFix"));
            return;
        }
        report_.probePort = chosen->portNumber;
        report_.probeDevice = chosen->path;
    }

    TSystemView& system_;
    const DoctorRequest& request_;
    DoctorReport report_;
    std::vector<UsbDevice> usb_;
    std::vector<Process> processes_;
    bool mmProbing_ = false;
    bool brlttySeen_ = false;
};
} // namespace

bool DoctorReport::HasProblem() const
{
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity == Severity::Problem; });
}

DoctorReport Examine(TSystemView& system, const DoctorRequest& request)
{
    if (TWinMachineView* windows = system.WindowsMachine())
        return ExamineWindows(*windows, request);
    return Doctor(system, request).Run();
}

const char* SeverityName(Severity severity)
{
    switch (severity) {
    case Severity::Ok:
        return "ok";
    case Severity::Warning:
        return "warning";
    case Severity::Problem:
        return "problem";
    }
    return "";
}

std::string SeverityMark(Severity severity)
{
    switch (severity) {
    case Severity::Ok:
        return DoctorText("MarkOk");
    case Severity::Warning:
        return DoctorText("MarkWarning");
    case Severity::Problem:
        return DoctorText("MarkProblem");
    }
    return {};
}
