// SPDX-License-Identifier: GPL-3.0-or-later
// qv300-cli write into several simulated radios at once, with the record of
// every radio.
#include <gtest/gtest.h>

#include <fstream>

#include "TestSupport.h"
#include "app/cli/SimulatorProcess.h"

namespace {
size_t Count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}
} // namespace

TEST(CliFleet, WritesEveryRadioAtOnceWhileOneFailsAndOnePortDoesNotOpen)
{
    TempDir dir;
    // The second radio's power fails after write block 10.
    Simulator sim(dir, {"--radios", "3", "--fault-radio", "2", "--power-loss-after", "10"});
    const std::string second = sim.NextLine(), third = sim.NextLine();
    const std::string devices = sim.path() + "," + second + "," + third + "," + dir.file("no-such-device");
    const std::string file = dir.file("radio.dat");
    ASSERT_EQ(Cli(dir, "read " + Quote(file) + " --port COM1 --device " + Quote(sim.path())).exitCode, 0);
    const std::string backups = dir.file("backups"), log = dir.file("log/fleet.csv");

    CliRun run = Cli(dir, "write " + Quote(file) + " --port COM1,COM2,COM3,COM4 --device " + Quote(devices) +
                              " --yes --backup-dir " + Quote(backups) + " --log " + Quote(log));
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_NE(run.err.find("COM4: "), std::string::npos) << run.err;
    EXPECT_EQ(Count(run.out, ", verified, "), 2u) << run.out;
    EXPECT_EQ(Count(run.out, "COM2: serial number 3025110343QV, failed ("), 1u) << run.out;
    EXPECT_NE(run.out.find("2 written, 2 verified, 1 failed\n"), std::string::npos) << run.out;
    // At once: about one radio's time, not three.
    EXPECT_LT(run.seconds, 30) << run.out;

    std::ifstream in(log);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(Count(lines[1] + lines[2] + lines[3], "," + backups + "/"), 3u);
    EXPECT_EQ(Count(lines[1] + lines[2] + lines[3], "3025110343QV"), 3u); // its line names its backup too

    // Every radio done: exit 0. A log that cannot be written: nothing starts.
    CliRun good = Cli(dir, "write " + Quote(file) + " --port COM1,COM3 --device " + Quote(sim.path() + "," + third) +
                               " --yes --no-verify --backup-dir " + Quote(backups) + " --log " + Quote(log));
    EXPECT_EQ(good.exitCode, 0) << good.out << good.err;
    EXPECT_NE(good.out.find("2 written, 0 verified, 0 failed\n"), std::string::npos) << good.out;
    CliRun noLog = Cli(dir, "write " + Quote(file) + " --port COM1,COM3 --device " + Quote(devices) + " --yes --log " +
                                Quote(file + "/fleet.csv"));
    EXPECT_EQ(noLog.exitCode, 2);
    EXPECT_NE(noLog.err.find("cannot be written"), std::string::npos) << noLog.err;
}
