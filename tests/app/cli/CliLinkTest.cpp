// SPDX-License-Identifier: GPL-3.0-or-later
// qv300-cli read and write against the simulated radio on a real
// pseudo-terminal: the program's serial port, engine and files end to end.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <nlohmann/json.hpp>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TestSupport.h"
#include "app/cli/SimulatorProcess.h"

namespace {

nlohmann::json Dump(const TempDir& dir, const std::string& file)
{
    CliRun dump = Cli(dir, "dump " + Quote(file));
    return dump.exitCode == 0 ? nlohmann::json::parse(dump.out) : nlohmann::json();
}

std::string OnSim(const Simulator& sim, const std::string& port = "COM3")
{
    return " --port " + port + " --device " + Quote(sim.path());
}

const std::string kComError =
    "Please check all connections and communication port settings.\nTo find the cause, run qv300-cli doctor\n";

// File offset of image offset `at` in a data file (header, then from 0x010).
size_t InFile(size_t at)
{
    return 16 + at - 0x010;
}

} // namespace

TEST(CliLink, ReadMakesTheDataFileOfTheRadiosMemory)
{
    TempDir dir;
    Simulator sample(dir, {});
    ASSERT_FALSE(sample.path().empty());
    std::string first = dir.file("first.dat");
    CliRun read = Cli(dir, "read " + Quote(first) + OnSim(sample));
    ASSERT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(read.out, "Reading Completed.\n");
    std::string bytes = ReadAll(first);
    ASSERT_EQ(bytes.size(), 464u);
    for (size_t at = 0x1B0; at < 0x1C0; ++at)
        EXPECT_EQ(bytes[InFile(at)], '\0') << at;
    nlohmann::json doc = Dump(dir, first);
    EXPECT_EQ(doc["model_code"], "QV30");
    EXPECT_GE(doc["channels"].size(), 2u);

    // A radio holding that file reads back into the same file.
    Simulator again(dir, {"--memory", first});
    std::string second = dir.file("second.dat");
    CliRun reread = Cli(dir, "read " + Quote(second) + OnSim(again, "COM12"));
    ASSERT_EQ(reread.exitCode, 0) << reread.err;
    EXPECT_EQ(ReadAll(second), bytes);
}

TEST(CliLink, WriteFillsTheRadioWithTheDocumentAndAFreshStamp)
{
    TempDir dir;
    std::string source = dir.file("source.dat");
    {
        Simulator sample(dir, {});
        ASSERT_EQ(Cli(dir, "read " + Quote(source) + OnSim(sample)).exitCode, 0);
    }
    std::string saved = dir.file("saved.dat");
    Simulator sim(dir, {"--save", saved});
    std::time_t before = std::time(nullptr);
    // The plain write, without the backup and the verify around it.
    CliRun write = Cli(dir, "write " + Quote(source) + OnSim(sim) + " --count 3 --yes --no-backup --no-verify");
    ASSERT_EQ(write.exitCode, 0) << write.err;
    EXPECT_EQ(write.out, "radio 1: Writing Completed.\nradio 2: Writing Completed.\nradio 3: Writing Completed.\n");

    std::string in = ReadAll(source), out = ReadAll(saved);
    ASSERT_EQ(out.size(), 464u);
    EXPECT_EQ(out.substr(InFile(0x010), 0x170 - 0x010), in.substr(InFile(0x010), 0x170 - 0x010));
    EXPECT_EQ(out.substr(InFile(0x170), 5), "PQV30");
    EXPECT_EQ(out[InFile(0x175)], in[InFile(0x175)]);
    nlohmann::json doc = Dump(dir, saved);
    std::string stamp = doc["write_time"];
    char earliest[32];
    std::strftime(earliest, sizeof earliest, "%Y-%m-%d %H:%M:%S", std::localtime(&before));
    EXPECT_GE(stamp, std::string(earliest));
    EXPECT_EQ(doc["channels"], Dump(dir, source)["channels"]);
}

TEST(CliLink, EachRadioFaultEndsWithItsMessageAndNoFile)
{
    TempDir dir;
    std::string source = dir.file("source.dat");
    ASSERT_EQ(Cli(dir, "new " + Quote(source)).exitCode, 0);
    struct Case {
        std::vector<std::string> fault;
        bool write;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--wrong-tag"}, false, kComError},
        {{"--unknown-model"}, true, "Model Type Wrong.\n"},
        {{"--wrong-response"}, false, kComError},
        {{"--silent-at", "auth"}, true, kComError},
        {{"--silent-at", "block:5"}, false, kComError},
        {{"--short-reply", "4"}, false, kComError},
        {{"--refuse-write", "3"}, true, kComError},
        {{"--noise-at", "ident"}, false, kComError},
        {{"--hang-up-after", "6"}, false, kComError},
        {{"--hang-up-after", "6"}, true, kComError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault.front() + (c.write ? " write" : " read"));
        Simulator sim(dir, c.fault);
        std::string out = dir.file("out.dat");
        CliRun run = c.write ? Cli(dir, "write " + Quote(source) + OnSim(sim) + " --no-backup --no-verify")
                             : Cli(dir, "read " + Quote(out) + OnSim(sim));
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, c.message);
        EXPECT_FALSE(std::filesystem::exists(out));
        EXPECT_LT(run.seconds, 10.0);
    }
}

TEST(CliLink, PortsListsAMappedDeviceThatOpensAndLeavesOutOneThatDoesNot)
{
    TempDir dir;
    Simulator sim(dir, {});
    CliRun ports = Cli(dir, "ports --port COM5 --device " + Quote(sim.path()));
    ASSERT_EQ(ports.exitCode, 0) << ports.err;
    EXPECT_NE(ports.out.find("COM5 " + sim.path() + "\n"), std::string::npos) << ports.out;
    CliRun missing = Cli(dir, "ports --port COM5 --device " + Quote(dir.file("gone")));
    EXPECT_EQ(missing.out.find("COM5 "), std::string::npos) << missing.out;
}

TEST(CliLink, PortThatCannotOpenAndBadOptions)
{
    TempDir dir;
    std::string out = dir.file("out.dat");
    CliRun missing = Cli(dir, "read " + Quote(out) + " --port COM4 --device " + Quote(dir.file("no-such-tty")));
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err, "Cannot Open Communication Port.\nTo find the cause, run qv300-cli doctor\n");
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(Cli(dir, "read " + Quote(out) + " --port LPT1").exitCode, 1);
    EXPECT_EQ(Cli(dir, "write " + Quote(out) + " --count 0").exitCode, 1);
    EXPECT_EQ(Cli(dir, "read").exitCode, 1);
}

TEST(CliLink, UsageErrorsNameTheArgumentAndShowTheCommandsUsage)
{
    TempDir dir;
    const std::pair<const char*, const char*> cases[] = {
        {"read x.dat --port COM99999999999", "COM99999999999"},
        {"write x.dat --count 0", "--count"},
        {"write x.dat --count 2147483648", "2147483648"},
        {"read x.dat --port COM0", "COM0"},
        {"write x.dat --port COM1,COM257", "COM257"},
        {"write x.dat --again", "--again requires --watch"},
        {"write x.dat --all-ports --port COM1", "--all-ports"},
        {"write x.dat --port COM1,COM2 --device /dev/null", "--device"},
        {"write x.dat --device /dev/null,/dev/null", "--device"},
    };
    for (const auto& [args, named] : cases) {
        CliRun run = Cli(dir, args);
        EXPECT_EQ(run.exitCode, 1) << args;
        EXPECT_NE(run.err.find(named), std::string::npos) << args << ": " << run.err;
        std::string usage = std::string("Usage: qv300-cli ") + (args[0] == 'r' ? "read" : "write");
        EXPECT_NE(run.err.find(usage), std::string::npos) << args << ": " << run.err;
    }
}
