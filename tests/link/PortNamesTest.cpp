// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "TestSupport.h"
#include "core/State.h"
#include "link/PortNames.h"
#include "settings/SysInfo.h"

namespace {

// A machine's device nodes without touching /dev.
class FakeSystem : public TPortSystem {
public:
    std::vector<std::string> devices;
    std::set<std::string> busy;
    std::vector<std::string> probed;
    std::vector<std::string> DevicePaths() override { return devices; }
    bool CanOpen(const std::string& path) override
    {
        probed.push_back(path);
        return std::find(devices.begin(), devices.end(), path) != devices.end() && !busy.count(path);
    }
    // As on Windows, where the system numbers its ports: "COM7" is 7.
    std::map<std::string, int> own;
    std::optional<int> OwnNumber(const std::string& path) override
    {
        auto it = own.find(path);
        return it == own.end() ? std::nullopt : std::optional<int>(it->second);
    }
};

class PortNames : public ::testing::Test {
protected:
    TempDir dir;
    FakeSystem system;
    TPortSystem* previous = nullptr;
    void SetUp() override
    {
        ClearRunMappings();
        StartFresh(dir.path().string());
        previous = SetPortSystem(&system);
    }
    void TearDown() override
    {
        SetPortSystem(previous);
        ClearRunMappings();
    }
};

} // namespace

TEST(PortName, NumberIsWhatFollowsTheFirstThreeCharacters)
{
    EXPECT_EQ(PortNumberOf("COM12"), 12);
    EXPECT_EQ(PortNumberOf("Com1"), 1);
    EXPECT_EQ(PortNumberOf("COM"), std::nullopt);
    EXPECT_EQ(PortNumberOf("COMX"), std::nullopt);
    EXPECT_EQ(PortNumberOf("COM3a"), std::nullopt);
    EXPECT_EQ(PortName(256), "COM256");
}

TEST(PortRule, UsbDevicesTakeFreeNumbersInAStableOrder)
{
    const std::vector<std::string> devices = {"/dev/ttyACM0", "/dev/ttyUSB10", "/dev/ttyS0",   "/dev/ttyUSB2",
                                              "/dev/ttyS1",   "/dev/ttyUSB0",  "/dev/ttyUSBx", "/dev/ttyACM1"};
    EXPECT_EQ(
        AssignPorts({}, devices),
        (std::vector<PortDevice>{
            {1, "/dev/ttyUSB0"}, {2, "/dev/ttyUSB2"}, {3, "/dev/ttyUSB10"}, {4, "/dev/ttyACM0"}, {5, "/dev/ttyACM1"}}));
    // The order of the directory listing does not matter.
    std::vector<std::string> reversed(devices.rbegin(), devices.rend());
    EXPECT_EQ(AssignPorts({}, reversed), AssignPorts({}, devices));

    // A mapping wins: its numbers are skipped and its devices not listed twice.
    const PortMapping mapped = {{1, "/dev/ttyS0"}, {3, "/dev/ttyUSB2"}};
    EXPECT_EQ(AssignPorts(mapped, devices), (std::vector<PortDevice>{{1, "/dev/ttyS0"},
                                                                     {2, "/dev/ttyUSB0"},
                                                                     {3, "/dev/ttyUSB2"},
                                                                     {4, "/dev/ttyUSB10"},
                                                                     {5, "/dev/ttyACM0"},
                                                                     {6, "/dev/ttyACM1"}}));
}

TEST(PortRule, DeviceThatDoesNotOpenIsLeftOutWithoutRenumberingTheOthers)
{
    std::vector<std::string> probed;
    auto canOpen = [&](const std::string& path) {
        probed.push_back(path);
        return path != "/dev/ttyUSB0";
    };
    EXPECT_EQ(ListPorts({{7, "/dev/pts/4"}}, {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyS0"}, canOpen),
              (std::vector<PortDevice>{{2, "/dev/ttyUSB1"}, {7, "/dev/pts/4"}}));
    EXPECT_EQ(std::count(probed.begin(), probed.end(), "/dev/ttyS0"), 0);
}

TEST_F(PortNames, SettingsFileMapsPortsAndTheCommandLineOverridesForTheRun)
{
    dir.write("SysInfo.Ini", "[SysInfo]\nCom=COM3\n[Ports]\ncom3=/dev/ttyS4\nCOM5 = /dev/pts/9\nCOM300=/dev/x\n");
    system.devices = {"/dev/ttyUSB0", "/dev/ttyS4", "/dev/ttyS0"};
    EXPECT_EQ(EnumeratePorts(), (std::vector<PortDevice>{{1, "/dev/ttyUSB0"}, {3, "/dev/ttyS4"}}));
    EXPECT_EQ(DeviceOfPort(5), "/dev/pts/9"); // mapped, present or not
    EXPECT_EQ(DeviceOfPort(2), std::nullopt);
    EXPECT_EQ(std::count(system.probed.begin(), system.probed.end(), "/dev/ttyS0"), 0);

    MapPortForRun(1, "/dev/pts/2");
    system.devices.push_back("/dev/pts/2");
    EXPECT_EQ(EnumeratePorts(), (std::vector<PortDevice>{{1, "/dev/pts/2"}, {2, "/dev/ttyUSB0"}, {3, "/dev/ttyS4"}}));
}

TEST_F(PortNames, PortsTheSystemNumbersKeepTheirNumbersUnderAnExplicitMapping)
{
    dir.write("SysInfo.Ini", "[Ports]\nCOM7=/dev/pts/4\n");
    system.devices = {"COM23", "COM7", "COM4", "/dev/pts/4"};
    system.own = {{"COM23", 23}, {"COM7", 7}, {"COM4", 4}};
    system.busy = {"COM4"};
    EXPECT_EQ(EnumeratePorts(), (std::vector<PortDevice>{{7, "/dev/pts/4"}, {23, "COM23"}}));
    EXPECT_EQ(DeviceOfPort(4), "COM4"); // held by another program, still its device
    EXPECT_EQ(DeviceOfPort(1), std::nullopt);
}

TEST_F(PortNames, StartUpKeepsAnAvailablePortOrTakesTheFirst)
{
    system.devices = {"/dev/ttyUSB0", "/dev/ttyUSB1"};
    ALL.ComPort = "Com1";
    ValidateComPort(ALL.ComPort, EnumeratePorts());
    EXPECT_EQ(ALL.ComPort, "COM1");

    ALL.ComPort = "COM9";
    system.busy = {"/dev/ttyUSB0"}; // in use by another program: not offered
    ValidateComPort(ALL.ComPort, EnumeratePorts());
    EXPECT_EQ(ALL.ComPort, "COM2");

    system.devices.clear();
    ALL.ComPort = "com7";
    ValidateComPort(ALL.ComPort, EnumeratePorts());
    EXPECT_EQ(ALL.ComPort, "COM7");
    EXPECT_TRUE(SaveSysInfo());
    EXPECT_NE(ReadAll(SysInfoPath()).find("Com=COM7"), std::string::npos);
}

TEST_F(PortNames, PortChosenOnTheCommandLineIsNotSaved)
{
    ALL.ComPort = "Com2";
    ChooseComPortForRun(ALL.ComPort, "com5");
    EXPECT_EQ(ALL.ComPort, "COM5");
    EXPECT_EQ(ComPortToSave(ALL.ComPort), "Com2");
    ALL.ComPort = "COM6"; // chosen later in the port dialog: that one is kept
    EXPECT_EQ(ComPortToSave(ALL.ComPort), "COM6");
}
