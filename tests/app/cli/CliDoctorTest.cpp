// SPDX-License-Identifier: GPL-3.0-or-later
// qv300-cli doctor as a user runs it: on this machine, whose serial
// devices the test cannot choose, and against the simulated radio.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "TestSupport.h"
#include "app/cli/SimulatorProcess.h"

namespace {

TEST(CliDoctor, TheSimulatedRadioIsReadyOrItsFaultIsNamed)
{
    TempDir dir;
    {
        Simulator sim(dir, {});
        ASSERT_FALSE(sim.path().empty());
        CliRun run = Cli(dir, "doctor --device " + Quote(sim.path()));
        EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
        EXPECT_NE(run.out.find("[OK] The radio answered on COM1 (" + sim.path() + ") and is ready."), std::string::npos)
            << run.out;
        EXPECT_LT(run.seconds, 3.0);
    }
    {
        Simulator sim(dir, {"--echo"});
        CliRun run = Cli(dir, "doctor --json --port COM7 --device " + Quote(sim.path()));
        EXPECT_EQ(run.exitCode, 3) << run.err;
        nlohmann::json report = nlohmann::json::parse(run.out, nullptr, false);
        ASSERT_TRUE(report.is_object()) << run.out;
        EXPECT_EQ(report["exitCode"], 3);
        EXPECT_EQ(report["port"], "COM7");
        ASSERT_FALSE(report["findings"].empty());
        EXPECT_EQ(report["findings"].back()["id"], "line-echo");
        EXPECT_EQ(report["findings"].back()["severity"], "problem");
        EXPECT_LT(run.seconds, 3.0);
    }
}

TEST(CliDoctor, TheRadioIsReadyForTheNextProgramAtOnce)
{
    TempDir dir;
    Simulator sim(dir, {"--pace"});
    for (const std::string& command :
         {std::string("doctor"), std::string("doctor"), "read " + Quote(dir.file("r.dat"))})
        EXPECT_EQ(Cli(dir, command + " --device " + Quote(sim.path())).exitCode, 0) << command;
}

TEST(CliDoctor, WithoutANamedDeviceItLooksWithoutWaiting)
{
    // Whatever this machine has, the doctor answers with a finding and an
    // exit code of its own; without a cable it says so.
    TempDir dir;
    CliRun run = Cli(dir, "doctor");
    EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 3) << run.exitCode << run.err;
    EXPECT_NE(run.out.find("["), std::string::npos);
    if (run.out.find("/dev/ttyUSB") == std::string::npos && run.out.find("/dev/ttyACM") == std::string::npos &&
        run.out.find("cable (") == std::string::npos) {
        EXPECT_NE(run.out.find("No programming cable is connected"), std::string::npos) << run.out;
    }
}

} // namespace
