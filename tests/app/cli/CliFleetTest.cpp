// SPDX-License-Identifier: GPL-3.0-or-later
// qv300-cli write into several simulated radios at once, with the record of
// every radio.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TestSupport.h"
#include "app/cli/SimulatorProcess.h"

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
    EXPECT_EQ(Occurrences(run.out, ", verified, "), 2u) << run.out;
    EXPECT_EQ(Occurrences(run.out, "COM2: serial number 3025110343QV, failed ("), 1u) << run.out;
    EXPECT_NE(run.out.find("2 written, 2 verified, 1 failed\n"), std::string::npos) << run.out;
    // At once: about one radio's time, not three.
    EXPECT_LT(run.seconds, 30) << run.out;

    std::ifstream in(log);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(Occurrences(lines[1] + lines[2] + lines[3], "," + backups + "/"), 3u);
    EXPECT_EQ(Occurrences(lines[1] + lines[2] + lines[3], "3025110343QV"), 3u); // its line names its backup too

    // Every radio done: exit 0. A log that cannot be written: nothing starts.
    CliRun good = Cli(dir, "write " + Quote(file) + " --port COM1,COM3 --device " + Quote(sim.path() + "," + third) +
                               " --yes --no-verify --backup-dir " + Quote(backups) + " --log " + Quote(log));
    EXPECT_EQ(good.exitCode, 0) << good.out << good.err;
    EXPECT_NE(good.out.find("2 written, 0 verified, 0 failed\n"), std::string::npos) << good.out;
    CliRun noLog = Cli(dir, "write " + Quote(file) + " --port COM1,COM3 --device " + Quote(sim.path() + "," + third) +
                                " --yes --log " + Quote(file + "/fleet.csv"));
    EXPECT_EQ(noLog.exitCode, 2);
    EXPECT_NE(noLog.err.find("cannot be written"), std::string::npos) << noLog.err;
}

TEST(CliFleet, ARefusedBlockIsNamedInTheResultAndTheLog)
{
    TempDir dir;
    Simulator sim(dir, {"--radios", "2", "--fault-radio", "2", "--refuse-write", "3"});
    const std::string second = sim.NextLine(), file = dir.file("radio.dat"), backups = dir.file("backups");
    ASSERT_EQ(Cli(dir, "read " + Quote(file) + " --device " + Quote(sim.path())).exitCode, 0);
    CliRun run = Cli(dir, "write " + Quote(file) + " --port COM1,COM2 --device " + Quote(sim.path() + "," + second) +
                              " --yes --backup-dir " + Quote(backups));
    const std::string refused = "The radio refused block 3 (address 0x030): it answered 15";
    EXPECT_EQ(Occurrences(run.out, refused), 1u) << run.out;
    EXPECT_EQ(Occurrences(ReadAll(backups + "/fleet.csv"), refused), 1u);
}

namespace {
// qv300-cli running in the background, its output collected in files.
class CliProcess {
public:
    CliProcess(const TempDir& dir, std::vector<std::string> args)
        : out_(dir.file("cli-out.txt")), err_(dir.file("cli-err.txt"))
    {
        const char* cli = std::getenv("QV300_CLI");
        args.insert(args.begin(), cli ? cli : "qv300-cli");
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~CliProcess()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    std::string Out() const { return ReadAll(out_); }
    // Waits up to `seconds` for `text` to be printed.
    bool WaitFor(const std::string& text, int seconds = 60)
    {
        for (int i = 0; i < seconds * 10; ++i, usleep(100000))
            if (Out().find(text) != std::string::npos)
                return true;
        return false;
    }
    std::string Err() const { return ReadAll(err_); }
    void Signal() const { kill(pid_, SIGINT); }
    // Ctrl+C, and the exit code.
    int Interrupt()
    {
        kill(pid_, SIGINT);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    std::string out_, err_;
    pid_t pid_ = -1;
};
} // namespace

TEST(CliFleet, HandsFreeWritesEachRadioAsItIsPluggedIn)
{
    TempDir dir;
    const std::string control = dir.file("control");
    std::ofstream(control) << "unplug 2\n";
    Simulator sim(dir, {"--radios", "2", "--control", control});
    const std::string second = sim.NextLine();
    const std::string file = dir.file("radio.dat");
    ASSERT_EQ(Cli(dir, "read " + Quote(file) + " --port COM1 --device " + Quote(sim.path())).exitCode, 0);

    CliProcess cli(dir, {"write", file, "--port", "COM1,COM2", "--device", sim.path() + "," + second, "--watch",
                         "--yes", "--no-verify", "--backup-dir", dir.file("backups"), "--log", dir.file("fleet.csv")});
    ASSERT_TRUE(cli.WaitFor("COM1: serial number 3025110342QV, written")) << cli.Out();
    // A radio on the second cable, then a new one in place of the first.
    std::ofstream(control, std::ios::app) << "plug 2\n";
    ASSERT_TRUE(cli.WaitFor("COM2: serial number 3025110344QV, written")) << cli.Out();
    // Off the cable long enough for the port to see it gone (a look every
    // 1.5 s, a handshake time-out of 1.5 s), then a new radio on.
    std::ofstream(control, std::ios::app) << "unplug 1\n";
    sleep(5);
    std::ofstream(control, std::ios::app) << "plug 1\n";
    ASSERT_TRUE(cli.WaitFor("COM1: serial number 3025110345QV, written")) << cli.Out();
    EXPECT_EQ(cli.Interrupt(), 0);
    const std::string out = cli.Out();
    EXPECT_NE(out.find("3 written, 0 verified, 0 failed\n"), std::string::npos) << out;
    EXPECT_EQ(Occurrences(out, ", written, "), 3u) << out;
    EXPECT_EQ(Occurrences(ReadAll(dir.file("fleet.csv")), ",written,"), 3u);
}

// A USB cable that drops off and comes back as another device node keeps
// its stable link; the port follows the link and takes the radio on it.
TEST(CliFleet, HandsFreeFollowsACableWhoseDeviceComesBackUnderAnotherName)
{
    TempDir dir;
    const std::string control = dir.file("control"), links = dir.file("links");
    std::filesystem::create_directory(links);
    std::ofstream(control) << "";
    Simulator sim(dir, {"--radios", "2", "--control", control, "--links", links});
    sim.NextLine();
    const std::string file = dir.file("radio.dat");
    ASSERT_EQ(Cli(dir, "read " + Quote(file) + " --port COM1 --device " + Quote(links + "/cable-1")).exitCode, 0);

    CliProcess cli(dir, {"write", file, "--port", "COM1,COM2", "--device", links + "/cable-1," + links + "/cable-2",
                         "--watch", "--yes", "--no-verify", "--backup-dir", dir.file("backups"), "--log",
                         dir.file("fleet.csv")});
    ASSERT_TRUE(cli.WaitFor("COM2: serial number 3025110343QV, written")) << cli.Out();
    // Cable 1 goes away, a new radio is put on it, and it comes back renamed.
    std::ofstream(control, std::ios::app) << "pull 1\nplug 1\ninsert 1\n";
    EXPECT_NE(sim.NextLine(), sim.path());
    ASSERT_TRUE(cli.WaitFor("COM1: serial number 3025110344QV, written")) << cli.Out();
    // Cable 2 comes back renamed with its radio still on it: left alone.
    std::ofstream(control, std::ios::app) << "pull 2\ninsert 2\n";
    ASSERT_TRUE(cli.WaitFor("COM2: serial number 3025110343QV is done already")) << cli.Out();
    EXPECT_EQ(cli.Interrupt(), 0);
    EXPECT_NE(cli.Out().find("3 written, 0 verified, 0 failed\n"), std::string::npos) << cli.Out();
    EXPECT_EQ(Occurrences(ReadAll(dir.file("fleet.csv")), "," + links + "/cable-1,"), 2u);
}

TEST(CliFleet, CtrlCFinishesTheRadiosBeingWrittenAndASecondOneSaysHowToRestoreEach)
{
    TempDir dir;
    Simulator sim(dir, {"--radios", "2", "--pace"});
    const std::string second = sim.NextLine();
    const std::string file = dir.file("radio.dat"), backups = dir.file("backups");
    ASSERT_EQ(Cli(dir, "read " + Quote(file) + " --port COM1 --device " + Quote(sim.path())).exitCode, 0);
    {
        // A single write: the radio being written finishes and verifies.
        CliProcess one(dir,
                       {"write", file, "--port", "COM1", "--device", sim.path(), "--yes", "--backup-dir", backups});
        ASSERT_TRUE(one.WaitFor("nothing will change")) << one.Out();
        usleep(1500000);
        EXPECT_EQ(one.Interrupt(), 0) << one.Err();
        EXPECT_NE(one.Out().find(", Verified, backup "), std::string::npos) << one.Out();
    }
    CliProcess fleet(dir, {"write", file, "--port", "COM1,COM2", "--device", sim.path() + "," + second, "--yes",
                           "--backup-dir", backups, "--log", dir.file("fleet.csv")});
    ASSERT_TRUE(fleet.WaitFor("The preview for COM1 (serial number 3025110342QV), COM2 (serial number 3025110343QV)"))
        << fleet.Out();
    usleep(1500000);
    fleet.Signal();
    usleep(300000);
    EXPECT_EQ(fleet.Interrupt(), 2);
    const std::string out = fleet.Out(), err = fleet.Err();
    EXPECT_EQ(Occurrences(out, ", interrupted (interrupted while writing"), 2u) << out;
    EXPECT_NE(out.find("0 written, 0 verified, 0 failed, 2 interrupted\n"), std::string::npos) << out;
    EXPECT_EQ(Occurrences(ReadAll(dir.file("fleet.csv")), ",interrupted,"), 2u);
    // Each radio's line says how to put it back; done, it holds its backup.
    const std::string restore = "To put it back: qv300-cli restore ";
    ASSERT_EQ(Occurrences(err, restore), 2u) << err;
    const size_t at = err.find(restore) + restore.size() - std::string("restore ").size();
    const std::string command = err.substr(at, err.find('\n', at) - at); // "restore 'B' --port …"
    const size_t quote = command.find('\'');
    const std::string backup = command.substr(quote + 1, command.find('\'', quote + 1) - quote - 1);
    EXPECT_EQ(Cli(dir, command + " --yes --backup-dir " + Quote(backups)).exitCode, 0);
    EXPECT_EQ(Cli(dir, "verify " + Quote(backup) + command.substr(command.find(" --port"))).exitCode, 0);
}

namespace {
// qv300-cli with `answer` and a line end on its standard input.
CliRun CliAnswering(const TempDir& dir, const std::string& args, const std::string& answer)
{
    const char* cli = std::getenv("QV300_CLI");
    const std::string command = "printf '%s\\n' " + Quote(answer) + " | " + Quote(cli ? cli : "qv300-cli") + " " +
                                args + " 2>" + Quote(dir.file("cli-stderr.txt"));
    CliRun run;
    FILE* p = popen(command.c_str(), "r");
    if (!p)
        return run;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;)
        run.out.append(buf, n);
    const int status = pclose(p);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(dir.file("cli-stderr.txt"));
    run.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    return run;
}
} // namespace

TEST(CliFleet, WithoutYesThePreviewQuestionIsAnsweredOnStandardInput)
{
    TempDir dir;
    Simulator sim(dir, {"--radios", "2"});
    const std::string second = sim.NextLine();
    const std::string file = dir.file("radio.dat");
    ASSERT_EQ(Cli(dir, "read " + Quote(file) + " --port COM1 --device " + Quote(sim.path())).exitCode, 0);
    const std::string write = "write " + Quote(file) + " --port COM1,COM2 --device " +
                              Quote(sim.path() + "," + second) + " --no-verify --backup-dir " +
                              Quote(dir.file("backups"));

    // No: neither radio is written, and the run is no success.
    CliRun no = CliAnswering(dir, write, "n");
    EXPECT_NE(no.err.find("[y/N]"), std::string::npos) << no.err;
    EXPECT_EQ(no.exitCode, 2) << no.out << no.err;
    EXPECT_NE(no.out.find("0 written, 0 verified"), std::string::npos) << no.out;
    // Yes, asked once: both radios are written.
    CliRun yes = CliAnswering(dir, write, "y");
    EXPECT_EQ(Occurrences(yes.err, "[y/N]"), 1u) << yes.err;
    EXPECT_EQ(yes.exitCode, 0) << yes.out << yes.err;
    EXPECT_NE(yes.out.find("2 written, 0 verified, 0 failed"), std::string::npos) << yes.out;
}

TEST(CliFleet, APortAnotherProgramHoldsIsReportedAsInUse)
{
    TempDir dir;
    Simulator sim(dir, {"--pace"});
    CliProcess first(dir, {"read", dir.file("first.dat"), "--port", "COM1", "--device", sim.path()});
    usleep(500000);
    CliRun second = Cli(dir, "read " + Quote(dir.file("second.dat")) + " --port COM1 --device " + Quote(sim.path()));
    EXPECT_EQ(second.exitCode, 2);
    EXPECT_EQ(second.err.rfind("Cannot Open Communication Port: another program is using it.", 0), 0u) << second.err;
    EXPECT_TRUE(first.WaitFor("Reading Completed.")) << first.Err();
}
