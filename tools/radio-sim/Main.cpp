// SPDX-License-Identifier: GPL-3.0-or-later
// qv300-radio-sim: a QV-300 radio on a pseudo-terminal, for working on the
// program without a radio. Prints the pseudo-terminal's path as the first
// line of its output, then answers session after session until SIGINT or
// SIGTERM. After a hang-up (the --hang-up-after fault) it opens a fresh
// pseudo-terminal and prints that path as a further line. With --radios N
// it serves N radios, each on a pseudo-terminal of its own, all from one
// loop; --control lets a test take a radio off its cable and put a new one
// on, or pull a cable's device and bring it back under another name.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <iostream>
#include <poll.h>
#include <unistd.h>

#include "app/Startup.h"
#include "core/State.h"
#include "tools/radio-sim/LinePacer.h"
#include "tools/radio-sim/PseudoTerminal.h"
#include "tools/radio-sim/SimControl.h"
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

// A radio of its own for each place on the fleet: the sample or given
// memory with a serial number that differs from every other radio's. The
// first radio keeps the serial number the memory has.
RadioMemory WithSerial(RadioMemory memory, int number)
{
    if (number == 0)
        return memory;
    char serial[32];
    std::snprintf(serial, sizeof serial, "302511%04dQV", (342 + number) % 10000);
    std::copy_n(serial, 12, memory.begin() + kSerialNumber);
    return memory;
}

// The path saved to for radio `index` (from 0): the one given for the first,
// "-2", "-3" before the extension for the others.
std::string SavePathOf(const std::string& path, int index)
{
    if (path.empty() || index == 0)
        return path;
    const size_t dot = path.rfind('.');
    const std::string suffix = "-" + std::to_string(index + 1);
    return dot == std::string::npos || path.find('/', dot) != std::string::npos
               ? path + suffix
               : path.substr(0, dot) + suffix + path.substr(dot);
}

class Server {
public:
    Server(int place, SimulatedRadio radio, const SimOptions& options, std::string modelCode, std::string saveFile)
        : radio_(std::move(radio)), options_(options), modelCode_(std::move(modelCode)), saveFile_(std::move(saveFile)),
          place_(place), toRadio_(options.pace ? kByteTimeAt4800 : SimTime{}),
          fromRadio_(options.pace ? kByteTimeAt4800 : SimTime{})
    {
    }

    bool OpenLine(bool announce = true)
    {
        std::string error;
        if (!pty_->Open(error)) {
            Say("cannot open a pseudo-terminal: " + error);
            return false;
        }
        if (announce)
            Announce();
        return true;
    }
    void Announce()
    {
        std::cout << pty_->SlavePath() << std::endl; // flushed: a waiting reader needs it now
        Link();
    }

    // The cable's device goes away: the line closes and its name is gone.
    // The radio stays on the cable.
    void Pull()
    {
        if (pty_->MasterFd() < 0)
            return;
        pulledPath_ = pty_->SlavePath();
        HangUp();
        inbound_.clear();
        outbound_.clear();
        if (!LinkPath().empty())
            std::remove(LinkPath().c_str());
    }
    // The device comes back under another name than before it was pulled;
    // the name it had is held while the new one is taken.
    bool Insert()
    {
        if (pty_->MasterFd() >= 0)
            return true;
        std::vector<std::unique_ptr<PseudoTerminal>> held;
        for (;;) {
            if (!OpenLine(false))
                return false;
            if (pty_->SlavePath() != pulledPath_) {
                Announce();
                return true;
            }
            held.push_back(std::move(pty_));
            pty_ = std::make_unique<PseudoTerminal>();
        }
    }

    // One turn of the loop before waiting; false when the line failed.
    bool Step()
    {
        Deliver();
        Transmit();
        if (hangUpPending_ && outbound_.empty() && !HostStillReading()) {
            HangUp();
            if (!OpenLine())
                return false;
        }
        if (radio_)
            radio_->Tick(Now());
        SaveIfDue();
        return true;
    }

    // The end of the run: what the host already sent still reaches the
    // radio, so a write that ended just before the stop is saved as a
    // complete session.
    void Stop()
    {
        if (radio_) {
            for (const TimedByte& b : inbound_)
                radio_->Receive(b.byte, b.due);
            radio_->LineLost();
        }
        SaveIfDue();
    }

    // The radio leaves the cable: the line stays, nothing answers on it.
    void Unplug()
    {
        if (radio_)
            radio_->LineLost();
        SaveIfDue();
        radio_.reset();
        inbound_.clear();
        outbound_.clear();
        hangUpPending_ = false;
        hangUpBy_.reset();
    }
    // A radio goes onto the cable, in place of any that was there.
    void Plug(SimulatedRadio radio)
    {
        Unplug();
        radio_.emplace(std::move(radio));
    }

private:
    // Host bytes whose line time has passed go to the radio.
    void Deliver()
    {
        const SimTime now = Now();
        while (!hangUpPending_ && !inbound_.empty() && inbound_.front().due <= now) {
            TimedByte b = inbound_.front();
            inbound_.pop_front();
            if (!radio_)
                break;
            RadioReply reply = radio_->Receive(b.byte, b.due);
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
        ssize_t n = write(pty_->MasterFd(), due.data(), due.size());
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
        return now < hangUpFrom_ || (pty_->UnreadByHost() > 0 && now < *hangUpBy_);
    }

    void HangUp()
    {
        hangUpBy_.reset();
        hangUpPending_ = false;
        Say("hanging up " + pty_->SlavePath());
        pty_->Close();
        if (radio_)
            radio_->LineLost();
        toRadio_ = LinePacer(options_.pace ? kByteTimeAt4800 : SimTime{});
        fromRadio_ = LinePacer(options_.pace ? kByteTimeAt4800 : SimTime{});
    }

    // --links: DIR/cable-K leads to the cable's device, as udev's
    // /dev/serial/by-path links do, and is gone while the device is.
    std::string LinkPath() const
    {
        return options_.linksFolder.empty() ? "" : options_.linksFolder + "/cable-" + std::to_string(place_ + 1);
    }
    void Link()
    {
        if (LinkPath().empty())
            return;
        const std::string fresh = LinkPath() + ".new";
        std::remove(fresh.c_str());
        if (symlink(pty_->SlavePath().c_str(), fresh.c_str()) != 0 ||
            std::rename(fresh.c_str(), LinkPath().c_str()) != 0)
            Say("cannot link " + LinkPath() + ": " + std::strerror(errno));
    }

    void SaveIfDue()
    {
        if (!radio_ || !radio_->TakeSaveDue() || saveFile_.empty())
            return;
        if (SaveMemoryFile(saveFile_, radio_->Memory(), modelCode_))
            Say("saved " + saveFile_);
    }

public:
    // The soonest moment this line needs a turn (nothing: only when bytes
    // come), and what to wait for on its pseudo-terminal.
    std::optional<SimTime> NextDue() const
    {
        std::optional<SimTime> next;
        auto consider = [&](SimTime t) { next = next ? std::min(*next, t) : t; };
        if (!inbound_.empty() && !hangUpPending_)
            consider(inbound_.front().due);
        if (!outbound_.empty())
            consider(outbound_.front().due);
        if (radio_)
            if (auto deadline = radio_->SessionDeadline())
                consider(*deadline + std::chrono::milliseconds(1));
        if (hangUpBy_)
            consider(Now() + kHangUpPoll);
        return next;
    }
    pollfd PollEntry() const { return {pty_->MasterFd(), static_cast<short>(hangUpPending_ ? 0 : POLLIN), 0}; }

    // Takes in what the wait found; false on a failure of the line itself.
    bool Handle(const pollfd& pfd)
    {
        if (pfd.revents & POLLIN) {
            uint8_t buf[256];
            ssize_t n = read(pty_->MasterFd(), buf, sizeof buf);
            // With no radio on the cable the bytes go nowhere.
            if (n > 0 && radio_) {
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

private:
    std::optional<SimulatedRadio> radio_; // nothing: unplugged
    const SimOptions& options_;
    std::string modelCode_;
    std::string saveFile_;
    std::unique_ptr<PseudoTerminal> pty_ = std::make_unique<PseudoTerminal>();
    int place_;              // the cable's number, from 0
    std::string pulledPath_; // the device's name before it was pulled
    LinePacer toRadio_;
    LinePacer fromRadio_;
    std::deque<TimedByte> inbound_;
    std::deque<TimedByte> outbound_;
    bool hangUpPending_ = false;
    std::optional<SimTime> hangUpBy_;
    SimTime hangUpFrom_{};
    static constexpr SimTime kHangUpPoll = std::chrono::milliseconds(5);
};

// How often the control file is looked at.
constexpr SimTime kControlPoll = std::chrono::milliseconds(100);

// Serves every radio until a stop signal: sleeps until a line has bytes for
// us, the next timed byte or deadline of any line is due, the control file
// is due a look, or a signal comes.
int Serve(std::vector<std::unique_ptr<Server>>& servers, const std::function<SimulatedRadio(int, int)>& newRadio,
          const SimOptions& options, const sigset_t& waitMask)
{
    std::optional<SimControl> control;
    if (!options.controlFile.empty())
        control.emplace(options.controlFile);
    int nextSerial = static_cast<int>(servers.size());
    while (!stopRequested) {
        for (auto& server : servers)
            if (!server->Step())
                return 1;
        std::optional<SimTime> next;
        if (control) {
            for (const PlugCommand& c : control->Poll()) {
                if (c.radio > static_cast<int>(servers.size()))
                    continue;
                const size_t i = static_cast<size_t>(c.radio - 1);
                const std::string radio = std::to_string(c.radio);
                switch (c.verb) {
                case PlugVerb::Plug:
                    servers[i]->Plug(newRadio(nextSerial++, static_cast<int>(i)));
                    Say("radio " + radio + " plugged in");
                    break;
                case PlugVerb::Unplug:
                    servers[i]->Unplug();
                    Say("radio " + radio + " unplugged");
                    break;
                case PlugVerb::Pull:
                    servers[i]->Pull();
                    Say("cable " + radio + " pulled");
                    break;
                case PlugVerb::Insert:
                    if (!servers[i]->Insert())
                        return 1;
                    Say("cable " + radio + " inserted");
                    break;
                }
            }
            next = Now() + kControlPoll;
        }
        std::vector<pollfd> pfds;
        for (auto& server : servers) {
            if (auto due = server->NextDue())
                next = next ? std::min(*next, *due) : *due;
            pfds.push_back(server->PollEntry());
        }
        timespec timeout{};
        if (next) {
            SimTime left = std::max(SimTime{}, *next - Now());
            timeout.tv_sec = static_cast<time_t>(left.count() / 1'000'000'000);
            timeout.tv_nsec = static_cast<long>(left.count() % 1'000'000'000);
        }
        int r = ppoll(pfds.data(), pfds.size(), next ? &timeout : nullptr, &waitMask);
        if (r < 0 && errno != EINTR)
            return 1;
        if (r > 0)
            for (size_t i = 0; i < servers.size(); ++i)
                if (!servers[i]->Handle(pfds[i]))
                    return 1;
    }
    for (auto& server : servers)
        server->Stop();
    Say("stopped");
    return 0;
}
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
    struct sigaction action {};
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

    // Radio `number` (from 0, counting every radio ever plugged in) on the
    // cable of radio `place`; the faults strike the chosen place only.
    auto makeRadio = [&](int number, int place) {
        const bool faulty = !options.faultRadio || *options.faultRadio == place + 1;
        SimulatedRadio radio(WithSerial(memory, number), modelCode, faulty ? options.faults : RadioFaults{});
        radio.SetLog(Say);
        return radio;
    };
    std::vector<std::unique_ptr<Server>> servers;
    for (int i = 0; i < options.radios; ++i) {
        servers.push_back(
            std::make_unique<Server>(i, makeRadio(i, i), options, modelCode, SavePathOf(options.saveFile, i)));
        if (!servers.back()->OpenLine())
            return 1;
    }
    Say(std::string("serving as ") + modelCode + (options.pace ? ", paced at 4800 baud" : ""));
    return Serve(servers, makeRadio, options, waitMask);
}
