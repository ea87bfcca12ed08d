// SPDX-License-Identifier: GPL-3.0-or-later
// The simulator as the program meets it: a process that prints a
// pseudo-terminal path and answers on it. Plain POSIX I/O with poll
// time-outs; nothing here sleeps.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <fstream>
#include <set>

#include "HostScript.h"
#include "TestSupport.h"
#include "image/formats/DataFile.h"
#include "tools/radio-sim/SimMemory.h"

namespace {
constexpr int kWaitMs = 10000; // generous: the machine is shared

// Reads what is there within the time-out, up to `want` bytes.
Bytes ReadUpTo(int fd, size_t want, int timeoutMs = kWaitMs)
{
    Bytes got;
    while (got.size() < want) {
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, timeoutMs) <= 0 || !(pfd.revents & POLLIN))
            break;
        uint8_t buf[64];
        ssize_t n = read(fd, buf, std::min(sizeof buf, want - got.size()));
        if (n <= 0)
            break;
        got.insert(got.end(), buf, buf + n);
    }
    return got;
}

// One read of whatever arrives first; empty on time-out or end.
std::string ReadSome(int fd)
{
    pollfd pfd{fd, POLLIN, 0};
    if (poll(&pfd, 1, kWaitMs) <= 0)
        return {};
    char buf[256];
    ssize_t n = read(fd, buf, sizeof buf);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& args)
    {
        const char* sim = std::getenv("QV300_RADIO_SIM");
        std::string path = sim ? sim : "qv300-radio-sim";
        int out[2], err[2];
        if (pipe(out) != 0 || pipe(err) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 1);
            dup2(err[1], 2);
            close(out[0]);
            close(err[0]);
            std::vector<char*> argv{path.data()};
            std::vector<std::string> copy = args;
            for (std::string& a : copy)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execvp(path.c_str(), argv.data());
            _exit(127);
        }
        close(out[1]);
        close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }

    ~SimProcess()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0)
            close(out_);
        if (err_ >= 0)
            close(err_);
    }

    // The next line of standard output, without its newline; empty on
    // time-out or end.
    std::string ReadLine()
    {
        std::string line;
        for (;;) {
            Bytes b = ReadUpTo(out_, 1);
            if (b.empty())
                return {};
            if (b[0] == '\n')
                return line;
            line += static_cast<char>(b[0]);
        }
    }

    // Reads standard error until `text` shows up; false on time-out.
    bool WaitForLog(const std::string& text)
    {
        while (log_.find(text) == std::string::npos) {
            std::string more = ReadSome(err_);
            if (more.empty())
                return false;
            log_ += more;
        }
        return true;
    }

    // Stops it as a user would and returns its exit code (-1 when it had
    // to be killed or did not exit normally).
    int Stop()
    {
        kill(pid_, SIGTERM);
        // Standard error closes when the process ends; only then wait for it.
        for (std::string more = ReadSome(err_); !more.empty(); more = ReadSome(err_))
            log_ += more;
        int status = 0;
        if (waitpid(pid_, &status, 0) != pid_)
            return -1;
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    const std::string& Log() const { return log_; }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    std::string log_;
};

// Opens the simulator's line in raw mode. Only pseudo-terminals are ever
// opened here.
int OpenLine(const std::string& path)
{
    if (path.rfind("/dev/pts/", 0) != 0)
        return -1;
    int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return -1;
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
    return fd;
}

Bytes Exchange(int fd, const Bytes& frame, size_t replyLength)
{
    if (write(fd, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size()))
        return {};
    return ReadUpTo(fd, replyLength);
}

// The handshake of one session on port 3; true when every reply fits.
bool Handshake(int fd)
{
    IdentBlock ident;
    uint8_t expected = BuildIdentBlock("JQ3BCDEFGHIJKLM", ident);
    bool ok = Exchange(fd, Program('a'), 1) == Bytes{0x06} && Exchange(fd, Program('c'), 1) == Bytes{0x06};
    Bytes reply = ok ? Exchange(fd, {0x02}, 16) : Bytes{};
    ok = reply.size() == 16 && std::string(reply.begin() + 1, reply.begin() + 5) == "QV30" && reply[6] == 0x36;
    return ok && Exchange(fd, Bytes(ident.begin(), ident.end()), 1) == Bytes{expected} &&
           Exchange(fd, {0x06}, 1) == Bytes{0x06};
}
}

TEST(RadioSimProcess, ServesTheSampleAndOutlivesTheHostClosingItsEnd)
{
    TempDir dir;
    StartFresh(dir.path().string());
    const RadioMemory sample = BuildSampleMemory();

    SimProcess sim({});
    const std::string path = sim.ReadLine();
    ASSERT_EQ(path.rfind("/dev/pts/", 0), 0u) << "first line: " << path;
    int fd = OpenLine(path);
    ASSERT_GE(fd, 0) << path;
    ASSERT_TRUE(Handshake(fd));
    Bytes data = Exchange(fd, ReadRequest(1), 20);
    ASSERT_EQ(data.size(), 20u);
    EXPECT_EQ(Bytes(data.begin() + 4, data.end()), BlockOf(sample, 1));
    EXPECT_EQ(Exchange(fd, {0x06}, 1), Bytes{0x06});
    ASSERT_EQ(write(fd, "E", 1), 1);
    close(fd);

    // The program closes the port and opens it again for the next radio.
    fd = OpenLine(path);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(Handshake(fd)) << sim.Log();
    ASSERT_EQ(write(fd, "E", 1), 1);
    EXPECT_TRUE(sim.WaitForLog("session 2 ended by the host"));
    close(fd);
    EXPECT_EQ(sim.Stop(), 0) << sim.Log();
}

TEST(RadioSimProcess, SavesEachWriteSessionAndHangsUpWhereTold)
{
    TempDir dir;
    const std::string saved = dir.file("radio.dat");
    SimProcess sim({"--save", saved, "--hang-up-after", "3", "--fault-session", "2"});
    const std::string path = sim.ReadLine();
    int fd = OpenLine(path);
    ASSERT_GE(fd, 0) << "first line: " << path;

    ASSERT_TRUE(Handshake(fd));
    ASSERT_EQ(Exchange(fd, WriteRequest(3, 0x5A), 1), Bytes{0x06});
    ASSERT_EQ(write(fd, "E", 1), 1);
    ASSERT_TRUE(sim.WaitForLog("saved " + saved)) << sim.Log();
    std::string file = ReadAll(saved);
    ASSERT_EQ(file.size(), kDataFileSize);
    EXPECT_EQ(file.substr(3 * 16, 16), std::string(16, '\x5A')) << "block 3 at its image offset";

    // Second session: the line goes dead after the reply for block 3.
    ASSERT_TRUE(Handshake(fd));
    EXPECT_EQ(Exchange(fd, ReadRequest(3), 20).size(), 20u);
    pollfd pfd{fd, POLLIN, 0};
    ASSERT_EQ(poll(&pfd, 1, kWaitMs), 1);
    EXPECT_TRUE(pfd.revents & POLLHUP);
    uint8_t b;
    EXPECT_LE(read(fd, &b, 1), 0);
    close(fd);

    // It carries on behind a fresh pseudo-terminal.
    const std::string next = sim.ReadLine();
    fd = OpenLine(next);
    ASSERT_GE(fd, 0) << "next line: " << next;
    EXPECT_TRUE(Handshake(fd));
    close(fd);
    EXPECT_EQ(sim.Stop(), 0) << sim.Log();
}

// Several radios from one process, each with its own serial number; a
// radio taken off its cable leaves the line silent, and the one put on in
// its place is a new radio.
TEST(RadioSimProcess, ServesSeveralRadiosThatAreUnpluggedAndPluggedIn)
{
    TempDir dir;
    StartFresh(dir.path().string());
    const std::string control = dir.file("control");
    SimProcess sim({"--radios", "3", "--control", control});
    std::vector<std::string> paths;
    for (int i = 0; i < 3; ++i)
        paths.push_back(sim.ReadLine());
    ASSERT_EQ(std::set<std::string>(paths.begin(), paths.end()).size(), 3u);

    // The serial number is in block 26.
    auto serialOf = [](int fd) {
        if (!Handshake(fd))
            return std::string();
        Bytes data = Exchange(fd, ReadRequest(26), 20);
        Exchange(fd, {0x06}, 1);
        (void)!write(fd, "E", 1);
        return data.size() == 20 ? std::string(data.begin() + 4, data.begin() + 16) : std::string();
    };
    std::vector<int> fds;
    std::set<std::string> serials;
    for (const std::string& path : paths) {
        fds.push_back(OpenLine(path));
        ASSERT_GE(fds.back(), 0) << path;
        serials.insert(serialOf(fds.back()));
    }
    EXPECT_EQ(serials.size(), 3u);
    EXPECT_EQ(serials.count(""), 0u);

    std::ofstream(control, std::ios::app) << "unplug 2\n";
    ASSERT_TRUE(sim.WaitForLog("radio 2 unplugged"));
    ASSERT_EQ(write(fds[1], Program('a').data(), 8), 8);
    EXPECT_TRUE(ReadUpTo(fds[1], 1, 300).empty());
    EXPECT_FALSE(serialOf(fds[0]).empty()); // the others go on

    std::ofstream(control, std::ios::app) << "plug 2\n";
    ASSERT_TRUE(sim.WaitForLog("radio 2 plugged in"));
    const std::string fresh = serialOf(fds[1]);
    EXPECT_FALSE(fresh.empty());
    EXPECT_EQ(serials.count(fresh), 0u);
    for (int fd : fds)
        close(fd);
    EXPECT_EQ(sim.Stop(), 0);
}
