// SPDX-License-Identifier: GPL-3.0-or-later
// The connection doctor on made-up Windows machines: Device Manager's
// devices, the COM map and the answer of the port, one machine for each
// cause of a radio that cannot be reached.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "TestSupport.h"
#include "link/DoctorFindings.h"
#include "core/State.h"
#include "link/DoctorTexts.h"
#include "link/LineProbe.h"
#include "link/LinkFrames.h"
#include "link/WinMachineView.h"

namespace {

class FakeWindows : public TEmptySystemView, public TWinMachineView {
public:
    std::vector<WinDevice> devices;
    std::vector<ComName> map;
    std::map<std::string, OpenTry> opens; // by path; a path not here opens
    std::vector<std::string> opened;

    TWinMachineView* WindowsMachine() override { return this; }
    std::vector<WinDevice> Devices() override { return devices; }
    std::vector<ComName> ComMap() override { return map; }
    OpenTry TryOpen(const std::string& path) override
    {
        opened.push_back(path);
        auto it = opens.find(path);
        return it == opens.end() ? OpenTry{OpenResult::Opened, 0, {}} : it->second;
    }

    // A working cable as its driver lists it.
    void Plug(const std::string& vendor, const std::string& product, int com, const std::string& name)
    {
        const std::string port = "COM" + std::to_string(com);
        devices.push_back({name + " (" + port + ")", "USB\\VID_" + vendor + "&PID_" + product + "\\5&1", vendor,
                           product, port, "wch.cn", "3.5.2019.1", 0});
        map.push_back({"\\Device\\USBSER00" + std::to_string(com), port});
    }
};

class WinDoctor : public ::testing::Test {
protected:
    TempDir dir;
    FakeWindows machine;

    void SetUp() override
    {
        StartFresh(dir.path().string());
        ReloadTexts();
    }
    DoctorReport Run(const std::string& port = "COM1", bool byUser = false)
    {
        return Examine(machine, DoctorRequest{{}, port, byUser});
    }
};

bool Says(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST_F(WinDoctor, NoCableThenAPortWindowsDoesNotDescribeIsTested)
{
    DoctorReport report = Run();
    EXPECT_EQ(Found(report, "no-cable").severity, Severity::Problem);
    EXPECT_TRUE(Says(Found(report, "drivers").what, "Ports (COM & LPT)"));
    EXPECT_FALSE(report.probePort);
    EXPECT_TRUE(machine.opened.empty());

    // Wine's COM ports, and virtual ports, have no device in Device Manager.
    machine.map.push_back({"COM5", "COM5"});
    report = Run("COM5");
    EXPECT_FALSE(Has(report, "no-cable"));
    EXPECT_TRUE(Says(Found(report, "device").what, "COM5 (\\\\.\\COM5) is a serial port that Device Manager"));
    EXPECT_EQ(report.probePort, 5);
    EXPECT_EQ(report.probeDevice, "\\\\.\\COM5");
    ASSERT_EQ(report.devices.size(), 1u);
    AddProbeFinding(report, InterpretReply({}, {kAck}), "COM5");
    EXPECT_FALSE(report.HasProblem());
    EXPECT_TRUE(Says(Found(Run("COM9", true), "wrong-port").what, "COM9 is not on this computer; Windows has COM5."));
}

TEST_F(WinDoctor, ACableWithoutItsDriverOrRefusedByIt)
{
    machine.devices.push_back(
        {"USB2.0-Serial", "USB\\VID_1A86&PID_7523\\5&2", "1a86", "7523", "", "", "", kProblemFailedInstall});
    DoctorReport report = Run();
    EXPECT_FALSE(Has(report, "no-cable"));
    Finding f = Found(report, "no-driver");
    EXPECT_EQ(f.severity, Severity::Problem);
    EXPECT_TRUE(Says(f.what, "CH340/CH341 cable (1a86:7523, \"USB2.0-Serial\")")) << f.what;
    EXPECT_TRUE(Says(f.fix, "www.wch-ic.com")) << f.fix;
    EXPECT_TRUE(Says(f.fix, "Device Manager ▸ Other devices ▸ USB2.0-Serial ▸ Properties")) << f.fix;

    // Prolific's driver names the chip it refuses, with or without code 10.
    machine.devices = {{"Prolific USB-to-Serial Comm Port", "USB\\VID_067B&PID_2303\\6&3", "067b", "2303", "COM3",
                        "Prolific", "3.9.6.2", kProblemFailedStart},
                       {"PL2303HXA PHASED OUT SINCE 2012. PLEASE CONTACT YOUR SUPPLIER.", "USB\\VID_067B&PID_2303\\6&4",
                        "067b", "2303", "COM4", "Prolific", "3.9.6.2", 0},
                       {"FT232R USB UART", "USB\\VID_0403&PID_6001\\A1", "0403", "6001", "", "FTDI", "2.12.36.4", 43}};
    report = Run();
    EXPECT_EQ(std::count_if(report.findings.begin(), report.findings.end(),
                            [](const Finding& x) { return x.id == "chip-refused" && x.severity == Severity::Problem; }),
              2);
    f = Found(report, "chip-refused");
    EXPECT_TRUE(Says(f.fix, "genuine chip")) << f.fix;
    f = Found(report, "device-problem");
    EXPECT_TRUE(Says(
        f.what, "FTDI cable (0403:6001, \"FT232R USB UART\") does not work: Device Manager shows problem code 43"));
}

TEST_F(WinDoctor, TheCableOnAnotherOrAHighComNumber)
{
    machine.Plug("1a86", "7523", 23, "USB-SERIAL CH340");
    DoctorReport report = Run("COM1", true);
    Finding f = Found(report, "wrong-port");
    EXPECT_EQ(f.severity, Severity::Problem);
    EXPECT_TRUE(Says(f.what, "the cable is COM23 (\\\\.\\COM23)")) << f.what;
    EXPECT_TRUE(Says(f.fix, "Choose COM23 in Setup ▸ Communication Port")) << f.fix;
    EXPECT_TRUE(
        Says(f.fix, "USB-SERIAL CH340 (COM23) ▸ Properties ▸ Port Settings ▸ Advanced ▸ COM Port Number ▸ COM1"))
        << f.fix;
    EXPECT_FALSE(report.probePort);
    EXPECT_TRUE(machine.opened.empty());
    f = Found(report, "high-port");
    EXPECT_TRUE(Says(f.fix, "a number up to COM20")) << f.fix;
    EXPECT_TRUE(Says(Found(report, "device").what, "driver wch.cn 3.5.2019.1"));

    // The settings' port gives way to the cable when it is not there, but
    // not when it is the computer's own serial port.
    report = Run("COM1");
    EXPECT_FALSE(Has(report, "wrong-port"));
    EXPECT_EQ(report.probePort, 23);
    machine.devices.push_back(
        {"Communications Port (COM1)", "ACPI\\PNP0501\\1", "", "", "COM1", "Microsoft", "10.0", 0});
    machine.map.push_back({"\\Device\\Serial0", "COM1"});
    report = Run("COM1");
    EXPECT_TRUE(Says(Found(report, "wrong-port").what, "COM1 is the serial port built into the computer"));
    EXPECT_FALSE(report.probePort);

    std::filesystem::copy_file(std::string(QV300_DATA_DIR) + "/Chinese.Ini", dir.file("Chinese.Ini"));
    ALL.LanguageName = "Chinese";
    ReloadTexts();
    EXPECT_TRUE(
        Says(Found(Run("COM1"), "high-port").fix, "设备管理器 → 端口（COM 和 LPT） → USB-SERIAL CH340 (COM23)"));
}

TEST_F(WinDoctor, ThePortHeldByAnotherProgramGoneOrFailing)
{
    machine.Plug("10c4", "ea60", 4, "Silicon Labs CP210x USB to UART Bridge");
    machine.opens["\\\\.\\COM4"] = {OpenResult::InUse, 5, {}};
    DoctorReport report = Run("COM4");
    Finding f = Found(report, "busy");
    EXPECT_EQ(f.severity, Severity::Problem);
    EXPECT_TRUE(Says(f.what, "Windows does not say which")) << f.what;
    EXPECT_FALSE(report.probePort);
    machine.opens["\\\\.\\COM4"] = {OpenResult::InUse, 5, "GPS Tool"};
    EXPECT_EQ(Found(Run("COM4"), "busy").fix, "Close GPS Tool, then check again.");
    machine.opens["\\\\.\\COM4"] = {OpenResult::Missing, 2, {}};
    EXPECT_EQ(Found(Run("COM4"), "port-gone").severity, Severity::Problem);
    machine.opens["\\\\.\\COM4"] = {OpenResult::Failed, 31, {}};
    report = Run("COM4");
    EXPECT_TRUE(Says(Found(report, "open-failed").what, "Windows error 31"));
    EXPECT_FALSE(report.probePort);
}

} // namespace
