// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "TestSupport.h"
#include "link/IdentBlock.h"
#include "link/MachineId.h"

#if defined(__linux__)
#include <sched.h>
#endif

namespace fs = std::filesystem;

namespace {

// A fake root with sys/block/<device>/... and run/udev/data/... below it.
class FakeRoot {
public:
    std::string root() const { return dir_.path().string(); }

    void put(const std::string& relative, const std::string& bytes) const
    {
        fs::create_directories((dir_.path() / relative).parent_path());
        dir_.write(relative, bytes);
    }

    // A block device with its removable flag and, when given, a serial file.
    void device(const std::string& name, bool removable, const std::string& serial = {}) const
    {
        put("sys/block/" + name + "/removable", removable ? "1\n" : "0\n");
        if (!serial.empty())
            put("sys/block/" + name + "/serial", serial + "\n");
    }

    std::string serial() const { return ReadMachineFacts(root()).diskSerial; }

private:
    TempDir dir_;
};

} // namespace

TEST(MachineFacts, TakesTheFirstFixedDiskInNameOrder)
{
    FakeRoot fake;
    fake.device("sdc", false, "THIRD");
    fake.device("sdb", false, "SECOND");
    fake.device("sda", true, "USBSTICK");
    EXPECT_EQ(fake.serial(), "SECOND");

    // Devices that are never the fixed disk are passed over even when they
    // sort first and have a serial.
    for (const char* name : {"dm-0", "fd0", "loop0", "md127", "nbd0", "ram0", "sr0", "zram0"})
        fake.device(name, false, std::string("NOT-") + name);
    EXPECT_EQ(fake.serial(), "SECOND");

    fake.device("nvme0n1", false, "NVME-FIRST");
    EXPECT_EQ(fake.serial(), "NVME-FIRST");
}

TEST(MachineFacts, SerialSourcesInOrderAndTrimmed)
{
    {
        FakeRoot fake;
        fake.put("sys/block/vda/serial", "  S3Z9NB0K 12  \n");
        fake.put("sys/block/vda/device/serial", "LOSES");
        EXPECT_EQ(fake.serial(), "S3Z9NB0K 12");
    }
    {
        // An empty serial file falls through to the device's own.
        FakeRoot fake;
        fake.put("sys/block/sda/serial", " \n");
        fake.put("sys/block/sda/device/serial", "WD-WCC4N1234567\n");
        EXPECT_EQ(fake.serial(), "WD-WCC4N1234567");
    }
    {
        // The unit serial number page: a four-byte header, its last two bytes
        // the length of the padded serial that follows; nothing after it counts.
        FakeRoot fake;
        fake.put("sys/block/sda/device/vpd_pg80", std::string("\x00\x80\x00\x0A", 4) + "  ZX12345 " + "XX");
        fake.put("sys/block/sda/dev", "8:0\n");
        fake.put("run/udev/data/b8:0", "E:ID_SERIAL_SHORT=LOSES\n");
        EXPECT_EQ(fake.serial(), "ZX12345");
    }
    {
        // The udev database, found by the device's numbers: the short serial
        // before the long one, whatever their order in the file.
        FakeRoot fake;
        fake.put("sys/block/sda/dev", "8:0\n");
        fake.put("sys/block/sda/device/vpd_pg80", std::string("\x00\x80\x00\x00", 4));
        fake.put(
            "run/udev/data/b8:0",
            "S:disk/by-id/ata-Maker_X_ABC123\nE:ID_SERIAL=Maker_X_ABC123\nE:ID_SERIAL_SHORT= ABC123 \nE:ID_TYPE=disk\n");
        fake.put("run/udev/data/b8:16", "E:ID_SERIAL_SHORT=OTHERDISK\n");
        EXPECT_EQ(fake.serial(), "ABC123");
    }
    {
        FakeRoot fake;
        fake.put("sys/block/vda/dev", "254:0\n");
        fake.put("run/udev/data/b254:0", "E:ID_SERIAL_SHORTER=NO\nE:ID_SERIAL=Maker_X_ABC123\n");
        EXPECT_EQ(fake.serial(), "Maker_X_ABC123");
    }
}

TEST(MachineFacts, NoSerialIsEmptyAndOnlyAnUnlistableFolderIsAnError)
{
    FakeRoot none; // no sys/block at all
    FakeRoot onlyOthers;
    onlyOthers.device("loop0", false, "LOOP");
    onlyOthers.device("sda", true, "USB");
    // The first fixed disk tells nothing; a later disk does not stand in.
    FakeRoot silentFirst;
    silentFirst.device("sda", false);
    silentFirst.put("sys/block/sda/dev", "8:0\n");
    silentFirst.device("sdb", false, "SECOND");
    for (const FakeRoot* fake : {&none, &onlyOthers, &silentFirst}) {
        MachineFacts f = ReadMachineFacts(fake->root());
        EXPECT_EQ(f.diskSerial, "");
        EXPECT_FALSE(f.readError);
    }

    FakeRoot broken;
    broken.put("sys/block", "not a folder");
    MachineFacts f = ReadMachineFacts(broken.root());
    EXPECT_TRUE(f.readError);
    EXPECT_EQ(BuildIdentString("QV30", f).size(), kIdentLength);
}

TEST(MachineFacts, ProcessorRegistersWithoutTheCoreNumber)
{
    FakeRoot fake;
    MachineFacts f = ReadMachineFacts(fake.root());
#if defined(__x86_64__) || defined(__i386__)
    ASSERT_TRUE(f.cpuRegisters.has_value());
    EXPECT_EQ((*f.cpuRegisters)[1] & 0xFF000000u, 0u);
    EXPECT_NE((*f.cpuRegisters)[0], 0u); // a processor signature is never zero
#else
    EXPECT_FALSE(f.cpuRegisters.has_value());
#endif
}

#if defined(__linux__)
TEST(MachineFacts, SameOnEveryCore)
{
    // Read the facts on a thread pinned to each processor in turn; the
    // registers must not tell the cores apart.
    FakeRoot fake;
    cpu_set_t allowed;
    ASSERT_EQ(sched_getaffinity(0, sizeof(allowed), &allowed), 0);
    std::vector<MachineFacts> seen;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (!CPU_ISSET(cpu, &allowed))
            continue;
        MachineFacts f;
        bool pinned = false;
        std::thread t([&] {
            cpu_set_t one;
            CPU_ZERO(&one);
            CPU_SET(cpu, &one);
            pinned = sched_setaffinity(0, sizeof(one), &one) == 0;
            f = ReadMachineFacts(fake.root());
        });
        t.join();
        if (pinned)
            seen.push_back(f);
    }
    ASSERT_FALSE(seen.empty());
    for (const MachineFacts& f : seen)
        EXPECT_EQ(f.cpuRegisters, seen.front().cpuRegisters);
}
#endif

TEST(MachineFacts, ThisMachineIsReadOnceAndStable)
{
    const MachineFacts& first = ThisMachine();
    const MachineFacts& second = ThisMachine();
    EXPECT_EQ(&first, &second);

    const MachineFacts fresh = ReadMachineFacts("/");
    EXPECT_EQ(fresh.diskSerial, first.diskSerial);
    EXPECT_EQ(fresh.cpuRegisters, first.cpuRegisters);
    EXPECT_EQ(fresh.readError, first.readError);

    const std::string ident = BuildIdentString("QV30");
    EXPECT_EQ(ident.size(), kIdentLength);
    EXPECT_EQ(BuildIdentString("QV30"), ident);
    EXPECT_EQ(BuildIdentString("QV30", fresh), ident);
}
