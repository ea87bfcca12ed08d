// SPDX-License-Identifier: GPL-3.0-or-later
// The connection doctor on made-up machines: one machine for each cause of
// a radio that cannot be reached, each checked for its finding and its fix.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "TestSupport.h"
#include "link/DoctorFindings.h"
#include "core/State.h"
#include "link/Doctor.h"
#include "link/DoctorTexts.h"
#include "link/LineProbe.h"
#include "link/LinkFrames.h"
#include "link/StableDevice.h"

namespace {

constexpr unsigned kDialout = 20;

// A machine made of maps: files with their text, links with their target,
// device nodes with owner group and mode.
class FakeSystem : public TSystemView {
public:
    std::map<std::string, std::string> files;
    std::map<std::string, std::string> links;
    std::map<std::string, NodeInfo> nodes;
    std::set<std::string> openable;
    UserGroups user{"ham", {1000}, {1000}};
    std::optional<std::string> kernelLog = std::string();

    std::vector<std::string> List(const std::string& folder) override
    {
        std::set<std::string> names;
        for (const std::string& path : Paths())
            if (path.size() > folder.size() + 1 && path.compare(0, folder.size() + 1, folder + "/") == 0)
                names.insert(path.substr(folder.size() + 1, path.find('/', folder.size() + 1) - folder.size() - 1));
        return {names.begin(), names.end()};
    }
    std::optional<std::string> Read(const std::string& file) override
    {
        auto it = files.find(file);
        return it == files.end() ? std::nullopt : std::optional(it->second);
    }
    std::optional<std::string> LinkTarget(const std::string& path) override
    {
        auto it = links.find(path);
        return it == links.end() ? std::nullopt : std::optional(it->second);
    }
    std::optional<std::string> Resolve(const std::string& path) override
    {
        auto it = links.find(path);
        if (it != links.end() && it->second.starts_with("/"))
            return it->second;
        return Exists(path) ? std::optional(path) : std::nullopt;
    }
    bool Exists(const std::string& path) override
    {
        for (const std::string& p : Paths())
            if (p == path || p.starts_with(path + "/"))
                return true;
        return false;
    }
    std::optional<NodeInfo> Node(const std::string& path) override
    {
        auto it = nodes.find(path);
        return it == nodes.end() ? std::nullopt : std::optional(it->second);
    }
    bool MayOpen(const std::string& path) override { return openable.count(path) > 0; }
    std::string GroupName(unsigned gid) override { return gid == kDialout ? "dialout" : std::to_string(gid); }
    UserGroups User() override { return user; }
    std::optional<std::string> KernelLog() override { return kernelLog; }

    // A USB cable with these ids as bus device 1-`n`; with a tty, as it
    // looks once its driver took it.
    void PlugCable(int n, const std::string& vendor, const std::string& product, const std::string& tty = "",
                   const std::string& driver = "")
    {
        const std::string usb = "/sys/devices/pci0000:00/usb1/1-" + std::to_string(n);
        files[usb + "/idVendor"] = vendor + "\n";
        files[usb + "/idProduct"] = product + "\n";
        files[usb + "/product"] = "USB Serial\n";
        links["/sys/bus/usb/devices/1-" + std::to_string(n)] = usb;
        if (tty.empty())
            return;
        links["/sys/class/tty/" + tty + "/device"] = usb + "/1-" + std::to_string(n) + ":1.0/" + tty;
        links["/sys/class/tty/" + tty + "/device/driver"] = "../../../../bus/usb-serial/drivers/" + driver;
        links["/dev/serial/by-id/usb-" + vendor + "_USB_Serial-if00-port0"] = "../../" + tty;
        nodes["/dev/" + tty] = NodeInfo{kDialout, 0660, true};
        openable.insert("/dev/" + tty);
    }
    void RunProgram(const std::string& pid, const std::string& name, const std::string& holds = "")
    {
        files["/proc/" + pid + "/comm"] = name + "\n";
        if (!holds.empty())
            links["/proc/" + pid + "/fd/3"] = holds;
    }

private:
    std::vector<std::string> Paths() const
    {
        std::vector<std::string> paths;
        for (const auto& m : {files, links})
            for (const auto& [path, value] : m)
                paths.push_back(path);
        for (const auto& [path, node] : nodes)
            paths.push_back(path);
        return paths;
    }
};

class Doctor : public ::testing::Test {
protected:
    TempDir dir;
    FakeSystem machine;

    void SetUp() override
    {
        StartFresh(dir.path().string());
        ReloadTexts();
        machine.nodes["/dev/null"] = NodeInfo{0, 0666, true};
        machine.files["/sys/class/tty/console/dev"] = "5:1\n";
    }

    DoctorReport Run(const std::string& port = "COM1", bool byUser = false, PortMapping mapping = {})
    {
        return Examine(machine, DoctorRequest{std::move(mapping), port, byUser});
    }
};

TEST_F(Doctor, NoCableSaysSoAndTestsNoLine)
{
    DoctorReport report = Run();
    Finding f = Found(report, "no-cable");
    EXPECT_EQ(f.severity, Severity::Problem);
    EXPECT_NE(f.fix.find("Plug the cable into a USB port"), std::string::npos);
    EXPECT_NE(Found(report, "drivers").what.find("No USB serial driver"), std::string::npos);
    EXPECT_FALSE(report.probePort);

    machine.files["/sys/bus/usb-serial/drivers/pl2303/uevent"] = "";
    EXPECT_NE(Found(Run(), "drivers").what.find("loaded: pl2303"), std::string::npos);
}

TEST_F(Doctor, AKnownCableIsNamedAndItsLineIsTested)
{
    machine.PlugCable(2, "1a86", "7523", "ttyUSB0", "ch341-uart");
    DoctorReport report = Run();
    EXPECT_FALSE(report.HasProblem());
    Finding f = Found(report, "device");
    EXPECT_EQ(f.severity, Severity::Ok);
    for (const char* part : {"COM1 (/dev/ttyUSB0)", "CH340/CH341", "1a86:7523", "driver ch341-uart",
                             "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0", "brltty"})
        EXPECT_NE(f.what.find(part), std::string::npos) << part << " in " << f.what;
    EXPECT_EQ(report.probePort, 1);
    EXPECT_EQ(report.probeDevice, "/dev/ttyUSB0");

    // A chip no programming cable is made with is pointed out.
    machine.PlugCable(3, "abcd", "0001", "ttyUSB1", "option");
    bool warned = false;
    for (const Finding& x : Run().findings)
        warned = warned || (x.severity == Severity::Warning && x.what.find("/dev/ttyUSB1") != std::string::npos &&
                            x.what.find("not one of the usual") != std::string::npos);
    EXPECT_TRUE(warned);
}

TEST_F(Doctor, NoPermissionGivesTheGroupCommandOrANewLogin)
{
    machine.PlugCable(2, "10c4", "ea60", "ttyUSB0", "cp210x");
    machine.openable.clear();
    Finding f = Found(Run(), "permission");
    EXPECT_EQ(f.severity, Severity::Problem);
    EXPECT_NE(f.what.find("group dialout (mode 0660)"), std::string::npos) << f.what;
    EXPECT_EQ(f.fix, "Run: sudo usermod -aG dialout ham   then log out and log in again.");

    machine.user.configured.push_back(kDialout); // added, but not in this login
    f = Found(Run(), "new-login");
    EXPECT_NE(f.fix.find("Log out and log in again"), std::string::npos);

    machine.nodes["/dev/ttyUSB0"].mode = 0600; // even the group may not
    EXPECT_NE(Found(Run(), "permission").fix.find("sudo chmod 660 /dev/ttyUSB0"), std::string::npos);
}

TEST_F(Doctor, AProgramHoldingThePortIsNamed)
{
    machine.PlugCable(2, "0403", "6001", "ttyUSB0", "ftdi_sio");
    machine.RunProgram("4242", "minicom", "/dev/ttyUSB0");
    machine.RunProgram("4300", "bash", "/dev/pts/1");
    DoctorReport report = Run();
    Finding f = Found(report, "busy");
    EXPECT_NE(f.what.find("minicom (process 4242)"), std::string::npos) << f.what;
    EXPECT_NE(f.fix.find("kill 4242"), std::string::npos);
    EXPECT_EQ(
        std::count_if(report.findings.begin(), report.findings.end(), [](const Finding& x) { return x.id == "busy"; }),
        1);
}

TEST_F(Doctor, ModemManagerProbingOrRunning)
{
    machine.PlugCable(2, "10c4", "ea60", "ttyACM0", "cdc_acm");
    machine.RunProgram("77", "ModemManager");
    Finding f = Found(Run(), "modemmanager");
    EXPECT_EQ(f.severity, Severity::Warning);
    EXPECT_NE(f.fix.find("systemctl disable --now ModemManager"), std::string::npos);

    machine.RunProgram("77", "ModemManager", "/dev/ttyACM0");
    f = Found(Run(), "modemmanager");
    EXPECT_EQ(f.severity, Severity::Problem);
    EXPECT_NE(f.what.find("probing /dev/ttyACM0"), std::string::npos);
}

TEST_F(Doctor, BrlttyTakingTheCh340)
{
    // brltty took the interface: the chip is on the bus without a tty.
    machine.PlugCable(2, "1a86", "7523");
    machine.files["/usr/bin/brltty"] = "";
    machine.files["/usr/lib/udev/rules.d/85-brltty.rules"] =
        "# CH340\nENV{PRODUCT}==\"1a86/7523/*\", ENV{BRLTTY_BRAILLE_DRIVER}=\"bm\", GOTO=\"brltty_usb_run\"\n";
    DoctorReport report = Run();
    EXPECT_FALSE(Has(report, "no-cable"));
    EXPECT_NE(Found(report, "no-tty").what.find("CH340/CH341 cable (1a86:7523)"), std::string::npos);
    Finding f = Found(report, "brltty");
    EXPECT_EQ(f.severity, Severity::Warning); // installed, not running
    EXPECT_NE(f.fix.find("systemctl mask --now brltty-udev.service"), std::string::npos);

    machine.RunProgram("55", "brltty");
    EXPECT_EQ(Found(Run(), "brltty").severity, Severity::Problem);

    // Rules about other chips do not count; the kernel's word does.
    machine.files["/usr/lib/udev/rules.d/85-brltty.rules"] = "ENV{PRODUCT}==\"0403/6001/*\"\n";
    EXPECT_FALSE(Has(Run(), "brltty"));
    machine.kernelLog = "[ 12.3] usbfs: interface 0 claimed by ch341 while 'brltty' sets config #1\n";
    EXPECT_NE(Found(Run(), "brltty").what.find("claimed by ch341"), std::string::npos);
}

TEST_F(Doctor, ARefusedPl2303AndAMissingDriver)
{
    machine.PlugCable(2, "067b", "23a3");
    machine.kernelLog =
        "[ 3.1] usb 1-2: new full-speed USB device\n"
        "[ 3.2] pl2303 1-2:1.0: unsupported or counterfeit device, please contact your supplier\n";
    DoctorReport report = Run();
    Finding f = Found(report, "chip-refused");
    EXPECT_NE(f.what.find("counterfeit device"), std::string::npos);
    EXPECT_NE(f.fix.find("genuine chip"), std::string::npos);

    machine.kernelLog = std::string("[ 3.1] usb 1-2: new full-speed USB device\n");
    report = Run();
    EXPECT_FALSE(Has(report, "chip-refused"));
    EXPECT_EQ(Found(report, "no-tty").fix,
              "Unplug the cable and plug it in again. If that does not help, run: sudo modprobe pl2303");

    machine.kernelLog.reset();
    EXPECT_NE(Found(Run(), "kernel-log").fix.find("sudo dmesg"), std::string::npos);
}

TEST_F(Doctor, TheWrongPortAndTheBuiltInPort)
{
    machine.PlugCable(2, "1a86", "7523", "ttyUSB0", "ch341-uart");
    // Named for this run, COM3 has no device: the cable is COM1.
    DoctorReport report = Run("COM3", true);
    EXPECT_EQ(Found(report, "wrong-port").fix, "Choose COM1 in Setup > Communication Port, or use --port COM1.");
    EXPECT_FALSE(report.probePort);
    // From the settings, the first cable stands in, as at start-up.
    EXPECT_EQ(Run("COM3").probePort, 1);

    // A built-in port is tested only when named.
    machine.nodes["/dev/ttyS0"] = NodeInfo{kDialout, 0660, true};
    report = Run("COM4", false, {{4, "/dev/ttyS0"}});
    EXPECT_TRUE(Has(report, "built-in-port"));
    EXPECT_FALSE(report.probePort);
    EXPECT_EQ(Run("COM4", true, {{4, "/dev/ttyS0"}}).probeDevice, "/dev/ttyS0");
}

TEST_F(Doctor, APortThatReachesTheRadioIsTheVerdictOverTheUsbRows)
{
    // A port mapped in the settings to a device that is no USB cable.
    machine.nodes["/dev/pts/4"] = NodeInfo{0, 0666, true};
    machine.openable.insert("/dev/pts/4");
    DoctorReport report = Run("COM2", false, {{2, "/dev/pts/4"}}), silent = report;
    AddProbeFinding(silent, InterpretReply({}, {}), "COM2");
    AddProbeFinding(report, InterpretReply({}, {kAck}), "COM2");
    EXPECT_EQ(Found(silent, "no-cable").severity, Severity::Problem);
    EXPECT_FALSE(report.HasProblem());
    EXPECT_TRUE(Found(report, "no-cable").fix.empty());
}

TEST_F(Doctor, EveryTextHasAChineseTranslationInTheShippedFile)
{
    std::filesystem::copy_file(std::string(QV300_DATA_DIR) + "/Chinese.Ini", dir.file("Chinese.Ini"));
    ALL.LanguageName = "Chinese";
    ReloadTexts();
    for (const TextKey& t : kDoctorTexts.keys) {
        std::string text = DoctorText(t.key);
        EXPECT_NE(text, t.english) << t.key;
        EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xE3; }))
            << t.key;
    }
}

// A fleet follows a cable by the name udev keeps for it while its node is
// renamed: the USB socket's by-path link first, since adapters without a
// serial number share one by-id name.
TEST(StableDevice, FollowsTheSocketThenTheAdapterThenTheNodeItself)
{
    FakeSystem m;
    m.nodes["/dev/ttyUSB0"] = m.nodes["/dev/ttyUSB1"] = m.nodes["/dev/ttyUSB2"] = {20, 0660, true};
    m.links["/dev/serial/by-path/pci-0000:00:14.0-usb-0:2.1:1.0-port0"] = "/dev/ttyUSB1";
    m.links["/dev/serial/by-path/pci-0000:00:14.0-usb-0:2.2:1.0-port0"] = "/dev/ttyUSB0";
    m.links["/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0"] = "/dev/ttyUSB0";
    m.links["/dev/serial/by-id/usb-FTDI_FT232R_A10K3JXV-if00-port0"] = "/dev/ttyUSB2";
    m.links["/dev/radio-cable"] = "/dev/ttyUSB2";

    const StableNames usb0 = FindStableNames(m, "/dev/ttyUSB0");
    EXPECT_EQ(usb0.byPath, "/dev/serial/by-path/pci-0000:00:14.0-usb-0:2.2:1.0-port0");
    EXPECT_EQ(usb0.byId, "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0");
    EXPECT_EQ(FollowedName(m, "/dev/ttyUSB0"), usb0.byPath);
    EXPECT_EQ(FollowedName(m, "/dev/ttyUSB1"), "/dev/serial/by-path/pci-0000:00:14.0-usb-0:2.1:1.0-port0");
    EXPECT_EQ(FollowedName(m, "/dev/ttyUSB2"), "/dev/serial/by-id/usb-FTDI_FT232R_A10K3JXV-if00-port0");
    // A link named by the user is followed as it is; a node with no link,
    // or gone, is opened by its own name.
    EXPECT_EQ(FollowedName(m, "/dev/radio-cable"), "/dev/radio-cable");
    m.nodes["/dev/ttyACM0"] = {20, 0660, true};
    EXPECT_EQ(FollowedName(m, "/dev/ttyACM0"), "/dev/ttyACM0");
    EXPECT_EQ(FollowedName(m, "/dev/ttyUSB9"), "/dev/ttyUSB9");
    EXPECT_EQ(FollowedName(m, ""), "");
}

} // namespace
