// SPDX-License-Identifier: GPL-3.0-or-later
// qv300-cli write with its backup and verify, diff, verify, backups and
// restore against the simulated radio.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "TestSupport.h"
#include "app/cli/SimulatorProcess.h"

namespace {

std::string OnSim(const Simulator& sim)
{
    return " --port COM3 --device " + Quote(sim.path());
}

// The sample radio's memory as a data file, and a copy with channel 2's
// power turned over.
struct Files {
    std::string radio, edited;
    explicit Files(const TempDir& dir) : radio(dir.file("radio.dat")), edited(dir.file("edited.dat"))
    {
        Simulator sample(dir, {});
        EXPECT_EQ(Cli(dir, "read " + Quote(radio) + OnSim(sample)).exitCode, 0);
        std::string bytes = ReadAll(radio);
        bytes[16 + 0x020 - 0x010 + 12] ^= 0x01;
        std::ofstream(edited, std::ios::binary) << bytes;
    }
};

} // namespace

TEST(CliSafeWrite, DiffSaysWhatDiffersWithItsExitCode)
{
    TempDir dir;
    Files f(dir);
    CliRun same = Cli(dir, "diff " + Quote(f.radio) + " " + Quote(f.radio));
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_EQ(same.out, "The two files hold the same document.\n");
    CliRun differ = Cli(dir, "diff " + Quote(f.radio) + " " + Quote(f.edited));
    EXPECT_EQ(differ.exitCode, 3);
    EXPECT_EQ(differ.out, "Channel 2, TX Power: Low → High\n");
    CliRun json = Cli(dir, "diff --json " + Quote(f.radio) + " " + Quote(f.edited));
    EXPECT_EQ(json.exitCode, 3);
    nlohmann::json changes = nlohmann::json::parse(json.out)["changes"];
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0]["key"], "channel.2.power");
    EXPECT_EQ(changes[0]["after"], "High");
    EXPECT_EQ(Cli(dir, "diff " + Quote(f.radio) + " " + Quote(dir.file("missing.dat"))).exitCode, 2);
}

TEST(CliSafeWrite, EachRadioIsBackedUpShownTheChangesWrittenAndVerified)
{
    TempDir dir;
    Files f(dir);
    const std::string backups = dir.file("backups");
    Simulator sim(dir, {});
    CliRun write = Cli(dir,
                       "write " + Quote(f.edited) + OnSim(sim) + " --count 2 --yes --backup-dir " + Quote(backups));
    ASSERT_EQ(write.exitCode, 0) << write.err;
    EXPECT_EQ(write.out.rfind("What the write will change in the radio:\nChannel 2, TX Power: Low → High\n", 0), 0u)
        << write.out;
    // The second radio holds something else than the first one did: it is
    // shown its changes (none) too.
    EXPECT_EQ(Occurrences(write.out, "nothing will change"), 1u);
    EXPECT_EQ(Occurrences(write.out, ", Verified, backup " + backups + "/"), 2u) << write.out;

    CliRun list = Cli(dir, "backups --backup-dir " + Quote(backups));
    ASSERT_EQ(list.exitCode, 0);
    ASSERT_EQ(Occurrences(list.out, "\n"), 2u) << list.out;
    const std::string first = list.out.substr(list.out.rfind('\t', list.out.find('\n')) + 1,
                                              list.out.find('\n') - list.out.rfind('\t', list.out.find('\n')) - 1);
    // Newest first: the second radio's backup holds the edited document,
    // the first one's what the radio held at the start.
    EXPECT_EQ(Cli(dir, "diff " + Quote(first) + " " + Quote(f.edited)).exitCode, 0);
    const std::string second = list.out.substr(list.out.rfind('\t') + 1, list.out.size() - list.out.rfind('\t') - 2);
    EXPECT_EQ(ReadAll(second), ReadAll(f.radio));
    EXPECT_EQ(Cli(dir, "verify " + Quote(f.edited) + OnSim(sim)).exitCode, 0);
}

TEST(CliSafeWrite, ACorruptedBlockIsCaughtAndAPowerLossIsRepairedByRestore)
{
    TempDir dir;
    Files f(dir);
    const std::string backups = " --backup-dir " + Quote(dir.file("backups"));
    {
        Simulator corrupt(dir, {"--corrupt-write", "3"});
        CliRun write = Cli(dir, "write " + Quote(f.radio) + OnSim(corrupt) + " --yes" + backups);
        EXPECT_EQ(write.exitCode, 2);
        EXPECT_EQ(write.err.rfind("The radio does not hold what was written: block 3 (Channel 3) differs.", 0), 0u)
            << write.err;
        EXPECT_EQ(write.out.find("Verified"), std::string::npos);
    }
    Simulator sim(dir, {"--memory", f.radio, "--power-loss-after", "9"});
    CliRun write = Cli(dir, "write " + Quote(f.edited) + OnSim(sim) + " --yes" + backups);
    EXPECT_EQ(write.exitCode, 2);
    const std::string kept = "What the radio held before this write is saved in ";
    const size_t at = write.err.find(kept);
    ASSERT_NE(at, std::string::npos) << write.err;
    const std::string backup = write.err.substr(at + kept.size(), write.err.find(';', at) - at - kept.size());
    EXPECT_LT(write.seconds, 15.0);

    CliRun half = Cli(dir, "verify " + Quote(backup) + OnSim(sim));
    EXPECT_EQ(half.exitCode, 3);
    EXPECT_EQ(half.out, "Channel 2, TX Power: Low → High\n");
    CliRun restore = Cli(dir, "restore " + Quote(backup) + OnSim(sim) + " --yes" + backups);
    EXPECT_EQ(restore.exitCode, 0) << restore.err;
    EXPECT_NE(restore.out.find(", Verified, backup "), std::string::npos) << restore.out;
    EXPECT_EQ(Cli(dir, "verify " + Quote(backup) + OnSim(sim)).exitCode, 0);
}
