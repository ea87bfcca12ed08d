// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/DoctorCommand.h"

#include <QEventLoop>
#include <QTimer>
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "app/cli/ExitCodes.h"
#include "app/cli/QtRun.h"
#include "base/NumberText.h"
#include "core/State.h"
#include "link/Doctor.h"
#include "link/DoctorTexts.h"
#include "link/LineProbe.h"
#include "link/PlatformSystemView.h"
#include "link/qt/PlatformPorts.h"
#include "link/qt/PlatformSerialPort.h"
#include "link/qt/QtLinkClock.h"

namespace {
constexpr int kExitReady = 0;
constexpr int kExitCouldNotRun = kExitFailed;

ProbeOutcome ProbeLine(int portNumber)
{
    // Qt only now: the doctor looks at the system before it touches a port.
    QtRun qt;
    TPlatformSerialPort port;
    TQtLinkClock clock;
    TLineProbe probe(port, clock);
    QEventLoop loop;
    probe.Start(portNumber, [&loop](const ProbeOutcome&) { QTimer::singleShot(0, &loop, &QEventLoop::quit); });
    if (!probe.Done())
        loop.exec();
    return probe.Outcome();
}

void PrintText(const DoctorReport& report)
{
    for (const Finding& f : report.findings) {
        std::string mark = "[" + SeverityMark(f.severity) + "]";
        std::cout << mark << ' ' << f.what << '\n';
        if (!f.fix.empty())
            std::cout << std::string(mark.size() + 1, ' ') << DoctorText("WhatToDo") << ' ' << f.fix << '\n';
    }
}

void PrintJson(const DoctorReport& report, const std::optional<ProbeOutcome>& probe, int exitCode)
{
    nlohmann::json devices = nlohmann::json::array();
    for (const SerialDevice& d : report.devices) {
        nlohmann::json j = {{"path", d.path}, {"byId", d.byId}, {"driver", d.driver}};
        j["port"] = d.portNumber ? nlohmann::json(PortName(*d.portNumber)) : nlohmann::json();
        if (d.usb)
            j["usb"] = {{"id", d.usb->Id()}, {"manufacturer", d.usb->manufacturer}, {"product", d.usb->productName}};
        j["chip"] = d.chip ? nlohmann::json(d.chip->name) : nlohmann::json();
        devices.push_back(j);
    }
    nlohmann::json findings = nlohmann::json::array();
    for (const Finding& f : report.findings)
        findings.push_back({{"severity", SeverityName(f.severity)}, {"id", f.id}, {"what", f.what}, {"fix", f.fix}});
    nlohmann::json out = {{"port", ALL.ComPort}, {"devices", devices}, {"findings", findings}, {"exitCode", exitCode}};
    if (probe)
        out["line"] = {{"received", HexBytes(probe->received)}, {"echo", probe->echoed}};
    std::cout << out.dump(2) << '\n';
}
} // namespace

void AddDoctorCommand(CLI::App& app, CommandRun& run)
{
    auto o = std::make_shared<DoctorOptions>();
    CLI::App* command = app.add_subcommand(
        "doctor",
        "finds why the radio cannot be reached and says what to do (exit 0 radio ready, 3 cause found, "
        "2 could not look)");
    AddPortOptions(*command, o->port);
    command->add_flag("--json", o->json, "print the findings as JSON");
    command->callback([o, &run] { run = [o] { return CommandDoctor(*o); }; });
}

int CommandDoctor(const DoctorOptions& o)
{
    // The port of this run as the link commands choose it, but the doctor
    // looks before it touches, so the settings' port is not checked by opening.
    const bool byUser = ChoosePortOfRun(o.port);
    ALL.ComPort = UpperAscii(ALL.ComPort);
    TPlatformSystemView system;
    DoctorReport report = Examine(system, DoctorRequest{CurrentPortMapping(), ALL.ComPort, byUser});
    std::optional<ProbeOutcome> probe;
    if (report.probePort) {
        probe = ProbeLine(*report.probePort);
        AddProbeFinding(report, *probe, PortName(*report.probePort) + " (" + report.probeDevice + ")");
    }
    int exitCode = kExitCauseFound;
    if (!report.couldRun)
        exitCode = kExitCouldNotRun;
    else if (probe && probe->result == ProbeResult::Ready)
        exitCode = kExitReady;
    if (o.json)
        PrintJson(report, probe, exitCode);
    else
        PrintText(report);
    return exitCode;
}
