// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/LinkCommands.h"

#include <QEventLoop>
#include <QTimer>
#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>

#include "app/cli/CliLink.h"
#include "app/cli/CliOutput.h"
#include "app/cli/ExitCodes.h"
#include "app/cli/FleetCommand.h"
#include "app/cli/QtRun.h"
#include "app/Startup.h"
#include "base/NumberText.h"
#include "core/State.h"
#include "document/DocumentFiles.h"
#include "document/RadioContents.h"
#include "link/DoctorTexts.h"
#include "link/PortNames.h"
#include "link/qt/PlatformPorts.h"
#include "link/qt/PlatformSerialPort.h"
#include "link/qt/QtLinkClock.h"
#include "link/RadioLink.h"
#include "settings/Language.h"

void ApplyPortOptions(const LinkOptions& o)
{
    if (!ChoosePortOfRun(o))
        ValidateComPort(ALL.ComPort, EnumeratePorts());
    ALL.ComPort = UpperAscii(ALL.ComPort);
}

bool ChoosePortOfRun(const LinkOptions& o)
{
    if (o.port)
        ChooseComPortForRun(ALL.ComPort, *o.port);
    if (o.device) {
        std::optional<int> n = PortNumberOf(UpperAscii(ALL.ComPort));
        MapPortForRun(n.value_or(1), *o.device);
        if (!n)
            ChooseComPortForRun(ALL.ComPort, PortName(1));
    }
    return o.port || o.device;
}

void AddPortOptions(CLI::App& command, LinkOptions& o, bool list)
{
    CLI::Validator comPort(
        [list](std::string& text) {
            size_t from = 0;
            for (;;) {
                const size_t comma = list ? text.find(',', from) : std::string::npos;
                const std::string name = text.substr(from,
                                                     comma == std::string::npos ? std::string::npos : comma - from);
                const std::optional<int> number = PortNumberOf(name);
                if (!number || UpperAscii(name.substr(0, 3)) != "COM")
                    return "not a port name COMn: " + name;
                if (*number < 1 || *number > kMaxPortNumber)
                    return "no such port (COM1 to COM" + std::to_string(kMaxPortNumber) + "): " + name;
                if (comma == std::string::npos)
                    return std::string();
                from = comma + 1;
            }
        },
        "");
    command
        .add_option(
            "--port", o.port,
            list ? "the COM port of this run, or several: COM1,COM2,COM5 (default: Com of SysInfo.Ini); not saved"
                 : "the COM port of this run (default: Com of SysInfo.Ini); not saved")
        ->type_name(list ? "COMn[,COMn...]" : "COMn")
        ->check(comPort)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    command
        .add_option("--device", o.device,
                    list ? "the device behind the port for this run, or one per port of --port: PATH,PATH; not saved"
                         : "the device behind the port for this run; not saved")
        ->type_name(list ? "PATH[,PATH...]" : "PATH")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

void AddLinkCommands(CLI::App& app, CommandRun& run)
{
    auto read = std::make_shared<LinkOptions>();
    CLI::App* command = app.add_subcommand("read", "reads the radio into a data file (none on failure)");
    command->add_option("OUT.dat", read->file, "the data file to write")->required();
    AddPortOptions(*command, *read);
    command->add_flag("--force", read->force, "replace an existing file (kept otherwise)");
    command->callback([read, &run] { run = [read] { return CommandRead(*read); }; });

    auto write = std::make_shared<LinkOptions>();
    command = app.add_subcommand("write", "writes a data file into the radio");
    command->add_option("IN.dat", write->file, "the data file to write into the radio")->required();
    AddPortOptions(*command, *write, true);
    auto fleet = std::make_shared<FleetCliOptions>();
    AddFleetOptions(*command, *fleet);
    CLI::Validator atLeastOne(
        [](std::string& text) {
            std::optional<int> n = ParseInteger(text);
            if (!n || *n < 1)
                return "not a number of radios: " + text;
            text = std::to_string(*n); // decimal, whatever the leading zeros
            return std::string();
        },
        "");
    command->add_option("--count", write->count, "write into N radios one after another, asking before each next one")
        ->type_name("N")
        ->transform(atLeastOne)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    command->add_flag("--yes", write->yes,
                      "write without asking: the changes and the next radio are taken as confirmed");
    AddSafeWriteOptions(*command, *write);
    command->callback([write, fleet, &run] {
        // Each device of the list stands behind the port at its place.
        auto count = [](const std::string& list) { return std::count(list.begin(), list.end(), ',') + 1; };
        if (write->device && !fleet->allPorts && count(*write->device) != count(write->port.value_or("COM1")))
            throw CLI::ValidationError("--device", "give one device for each port of --port");
        run = [write, fleet] {
            return IsFleetWrite(*write, *fleet) ? CommandFleetWrite(*write, *fleet) : CommandWrite(*write);
        };
    });

    auto ports = std::make_shared<LinkOptions>();
    command = app.add_subcommand("ports", "lists the COM names with the device behind each");
    AddPortOptions(*command, *ports);
    command->callback([ports, &run] { run = [ports] { return CommandPorts(*ports); }; });
}

int CommandRead(const LinkOptions& o)
{
    // Refused before the radio is read, not after.
    if (!OutputAllowed(o.file, o.force))
        return kExitFailed;
    QtRun qt;
    ApplyPortOptions(o);
    StartFirstDocument();

    CliLink link(kReadJob, kReadWindow);
    if (!link.Open())
        return kExitFailed;
    // The read is complete once its document is in place; the data file is
    // written as Save writes it.
    if (!link.Run(false) || !link.Link().ReadSucceeded())
        return kExitFailed;
    TakeReadIntoDocument(link.Link().ReceivedModelCode(), link.Outcome()->bytes);
    if (!WriteDataFile(o.file, o.force))
        return kExitFailed;
    // Beside the data file, not in it, when that goes to standard output.
    (o.file == "-" ? std::cerr : std::cout) << Language.ReadOk << '\n';
    return 0;
}

int CommandPorts(const LinkOptions& o)
{
    QtRun qt;
    if (o.device)
        MapPortForRun(PortNumberOf(UpperAscii(o.port.value_or("COM1"))).value_or(1), *o.device);
    const std::vector<PortDevice> ports = EnumeratePorts();
    // An empty list on standard output could be a silent failure: say so.
    if (ports.empty())
        std::cerr << DoctorText("NoPortsFound") << '\n';
    // Then what the system tells of the device, where it tells anything
    // (on Windows the driver's name and the USB ids).
    for (const PortDevice& p : ports) {
        const std::string description = PortDescription(p.device);
        std::cout << PortName(p.number) << ' ' << p.device << (description.empty() ? "" : "  ") << description << '\n';
    }
    return std::cout ? 0 : kExitFailed;
}
