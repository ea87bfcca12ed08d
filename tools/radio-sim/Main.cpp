// SPDX-License-Identifier: GPL-3.0-or-later
// qv300-radio-sim: a QV-300 radio on a pseudo-terminal, for working on the
// program without a radio. Prints the pseudo-terminal's path as the first
// line of its output, then answers session after session until SIGINT or
// SIGTERM. After a hang-up (the --hang-up-after fault) it opens a fresh
// pseudo-terminal and prints that path as a further line.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <iostream>
#include <poll.h>
#include <unistd.h>

#include "core/State.h"
#include "tools/radio-sim/LinePacer.h"
#include "tools/radio-sim/PseudoTerminal.h"
#include "tools/radio-sim/SimMemory.h"
#include "tools/radio-sim/SimOptions.h"

namespace {
volatile std::sig_atomic_t stopRequested = 0;

void OnStopSignal(int)
{
    stopRequested = 1;
}

SimTime Now()
{
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<SimTime>(std::chrono::steady_clock::now() - start);
}

void Say(const std::string& line)
{
    std::cerr << "qv300-radio-sim: " << line << std::endl;
}

struct TimedByte {
    SimTime due;
    uint8_t byte;
};

class Server {
public:
    Server(SimulatedRadio& radio, const SimOptions& options, std::string modelCode)
        : radio_(radio), options_(options), modelCode_(std::move(modelCode)),
          toRadio_(options.pace ? kByteTimeAt4800 : SimTime{}),
          fromRadio_(options.pace ? kByteTimeAt4800 : SimTime{})
    {
    }

    bool OpenLine()
    {
        std::string error;
        if (!pty_.Open(error)) {
            Say("cannot open a pseudo-terminal: " + error);
            return false;
        }
        std::cout << pty_.SlavePath() << std::endl; // flushed: a waiting reader needs it now
        return true;
    }

    int Run(const sigset_t& waitMask)
    {
        while (!stopRequested) {
            Deliver();
            Transmit();
            if (hangUpPending_ && outbound_.empty() && !HostStillReading()) {
                HangUp();
                if (!OpenLine())
                    return 1;
            }
            radio_.Tick(Now());
            SaveIfDue();
            if (!Wait(waitMask))
                return 1;
        }
        // What the host already sent still reaches the radio, so a write
        // that ended just before the stop is saved as a complete session.
        for (const TimedByte& b : inbound_)
            radio_.Receive(b.byte, b.due);
        radio_.LineLost();
        SaveIfDue();
        Say("stopped");
        return 0;
    }

private:
    // Host bytes whose line time has passed go to the radio.
    void Deliver()
    {
        const SimTime now = Now();
        while (!hangUpPending_ && !inbound_.empty() && inbound_.front().due <= now) {
            TimedByte b = inbound_.front();
            inbound_.pop_front();
            RadioReply reply = radio_.Receive(b.byte, b.due);
            std::vector<SimTime> times = fromRadio_.Schedule(reply.bytes.size(), b.due);
            for (size_t i = 0; i < reply.bytes.size(); ++i)
                outbound_.push_back({times[i], reply.bytes[i]});
            if (reply.hangUp) {
                hangUpPending_ = true;
                inbound_.clear();
            }
        }
    }

    // Reply bytes whose line time has passed go to the host, together.
    void Transmit()
    {
        const SimTime now = Now();
        std::vector<uint8_t> due;
        while (!outbound_.empty() && outbound_.front().due <= now) {
            due.push_back(outbound_.front().byte);
            outbound_.pop_front();
        }
        if (due.empty())
            return;
        ssize_t n = write(pty_.MasterFd(), due.data(), due.size());
        // Nobody reading and the buffer full: the bytes are lost, as on a
        // cable with nothing at the other end.
        if (n < static_cast<ssize_t>(due.size()))
            Say("reply bytes lost: nobody is reading the line");
    }

    // The last reply before a hang-up is meant to reach the program, and
    // closing throws away what it has not read. The kernel hands written
    // bytes on a moment later, so the count of unread bytes is trusted only
    // after a short while; a program that stopped reading is not waited for
    // beyond a second.
    bool HostStillReading()
    {
        const SimTime now = Now();
        if (!hangUpBy_) {
            hangUpFrom_ = now + std::chrono::milliseconds(100);
            hangUpBy_ = now + std::chrono::seconds(1);
        }
        return now < hangUpFrom_ || (pty_.UnreadByHost() > 0 && now < *hangUpBy_);
    }

    void HangUp()
    {
        hangUpBy_.reset();
        hangUpPending_ = false;
        Say("hanging up " + pty_.SlavePath());
        pty_.Close();
        radio_.LineLost();
        toRadio_ = LinePacer(options_.pace ? kByteTimeAt4800 : SimTime{});
        fromRadio_ = LinePacer(options_.pace ? kByteTimeAt4800 : SimTime{});
    }

    void SaveIfDue()
    {
        if (!radio_.TakeSaveDue() || options_.saveFile.empty())
            return;
        if (SaveMemoryFile(options_.saveFile, radio_.Memory(), modelCode_))
            Say("saved " + options_.saveFile);
    }

    // Sleeps until the line has bytes for us, the next timed byte is due,
    // the session deadline passes or a stop signal comes. False on a
    // failure of the line itself.
    bool Wait(const sigset_t& waitMask)
    {
        std::optional<SimTime> next;
        auto consider = [&](SimTime t) { next = next ? std::min(*next, t) : t; };
        if (!inbound_.empty() && !hangUpPending_)
            consider(inbound_.front().due);
        if (!outbound_.empty())
            consider(outbound_.front().due);
        if (auto deadline = radio_.SessionDeadline())
            consider(*deadline + std::chrono::milliseconds(1));
        if (hangUpBy_)
            consider(Now() + kHangUpPoll);

        timespec timeout{};
        if (next) {
            SimTime left = std::max(SimTime{}, *next - Now());
            timeout.tv_sec = static_cast<time_t>(left.count() / 1'000'000'000);
            timeout.tv_nsec = static_cast<long>(left.count() % 1'000'000'000);
        }
        pollfd pfd{pty_.MasterFd(), static_cast<short>(hangUpPending_ ? 0 : POLLIN), 0};
        int r = ppoll(&pfd, 1, next ? &timeout : nullptr, &waitMask);
        if (r < 0)
            return errno == EINTR;
        if (pfd.revents & POLLIN) {
            uint8_t buf[256];
            ssize_t n = read(pty_.MasterFd(), buf, sizeof buf);
            if (n > 0) {
                std::vector<SimTime> times = toRadio_.Schedule(static_cast<size_t>(n), Now());
                for (ssize_t i = 0; i < n; ++i)
                    inbound_.push_back({times[static_cast<size_t>(i)], buf[i]});
            }
        } else if (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) {
            // We hold the slave open, so this means the line itself broke.
            Say("the pseudo-terminal failed");
            return false;
        }
        return true;
    }

    SimulatedRadio& radio_;
    const SimOptions& options_;
    std::string modelCode_;
    PseudoTerminal pty_;
    LinePacer toRadio_;
    LinePacer fromRadio_;
    std::deque<TimedByte> inbound_;
    std::deque<TimedByte> outbound_;
    bool hangUpPending_ = false;
    std::optional<SimTime> hangUpBy_;
    SimTime hangUpFrom_{};
    static constexpr SimTime kHangUpPoll = std::chrono::milliseconds(5);
};
}

int main(int argc, char** argv)
{
    ParsedOptions parsed = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.version) {
        std::cout << "qv300-radio-sim " QV300_VERSION "\n";
        return 0;
    }
    if (!parsed.options) {
        // Asked for, the help goes to the standard output; after a wrong
        // line, with the reason to the error output.
        if (parsed.error.empty()) {
            std::cout << kSimUsage;
            return 0;
        }
        std::cerr << "qv300-radio-sim: " << parsed.error << "\n" << kSimUsage;
        return 1;
    }
    const SimOptions& options = *parsed.options;

    DataModuleCreate(ExecutableFolder(argv[0]));
    RadioMemory memory;
    if (options.memoryFile.empty()) {
        memory = BuildSampleMemory();
    } else {
        std::string error;
        std::optional<RadioMemory> loaded = LoadMemoryFile(options.memoryFile, error);
        if (!loaded) {
            Say(error);
            return 1;
        }
        memory = *loaded;
    }
    std::string modelCode = options.modelCode;
    if (modelCode.empty() && MacList.Items(0))
        modelCode = MacList.Items(0)->Code;

    // The stop signals are taken only while waiting, so none is lost
    // between checking the flag and going to sleep.
    struct sigaction action{};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    sigset_t blocked, waitMask;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);
    sigdelset(&waitMask, SIGINT);
    sigdelset(&waitMask, SIGTERM);

    SimulatedRadio radio(memory, modelCode, options.faults);
    radio.SetLog(Say);
    Server server(radio, options, modelCode);
    if (!server.OpenLine())
        return 1;
    Say(std::string("serving as ") + modelCode + (options.pace ? ", paced at 4800 baud" : ""));
    return server.Run(waitMask);
}
