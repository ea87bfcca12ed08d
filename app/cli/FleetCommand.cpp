// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/FleetCommand.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <CLI/CLI.hpp>
#include <algorithm>
#include <csignal>
#include <iostream>
#include <memory>
#include <unistd.h>

#include "app/cli/ExitCodes.h"
#include "app/cli/Interrupts.h"
#include "app/cli/QtRun.h"
#include "app/Startup.h"
#include "base/NumberText.h"
#include "base/Sha256.h"
#include "core/State.h"
#include "document/ContentsDiff.h"
#include "document/DocumentFiles.h"
#include "document/FleetTexts.h"
#include "document/RadioContents.h"
#include "document/SafeTexts.h"
#include "link/Fleet.h"
#include "link/PlatformSystemView.h"
#include "link/PortNames.h"
#include "link/qt/PlatformSerialPort.h"
#include "link/qt/QtLinkClock.h"
#include "link/qt/QtLoopHooks.h"
#include "link/SharedLoop.h"
#include "link/StableDevice.h"
#include "settings/Folders.h"
#include "settings/Language.h"

namespace {
volatile std::sig_atomic_t interrupts = 0;
void OnInterrupt(int)
{
    interrupts = interrupts + 1;
}

std::vector<std::string> SplitList(const std::string& text)
{
    std::vector<std::string> items;
    size_t from = 0;
    for (size_t comma; (comma = text.find(',', from)) != std::string::npos; from = comma + 1)
        items.push_back(text.substr(from, comma - from));
    items.push_back(text.substr(from));
    return items;
}

// The fleet on the command line: the lines go out as the radios finish; the
// one preview is answered by --yes or by a line on standard input, read
// without holding up the other ports.
class CliFleet : public TFleetView {
public:
    explicit CliFleet(bool yes) : yes_(yes) { clock_.start(); }

    TFleet& Fleet() { return fleet_; }
    void Add(const std::string& name, const std::string& device)
    {
        ports_.push_back(std::make_unique<TPlatformSerialPort>());
        clocks_.push_back(std::make_unique<TQtLinkClock>());
        sharedClocks_.push_back(std::make_unique<TSharedLoopClock>(*clocks_.back()));
        sharedPorts_.push_back(
            std::make_unique<TSharedLoopPort>(*ports_.back(), *sharedClocks_.back(), QtPostAfter(&context_)));
        fleet_.AddPort(name, device, *sharedPorts_.back(), *sharedClocks_.back());
        shown_.push_back(FleetState::Idle);
    }

    int Run(const FleetOptions& options)
    {
        // Without backups there is no preview: one question for them all.
        if (!options.write.backup && !yes_) {
            std::cerr << fleet_.BlindWriteQuestion(options) << " [y/N] " << std::flush;
            std::string line;
            if (!std::getline(std::cin, line) || (line != "y" && line != "Y" && line != "yes")) {
                std::cout << fleet_.SummaryText() << std::endl;
                return kExitFailed;
            }
        }
        std::string why;
        if (!fleet_.Start(options, why)) {
            std::cerr << why << '\n';
            return kExitFailed;
        }
        // Ctrl+C: the radios being written finish, no new one is begun;
        // again: every port ends at once, each radio in hand recorded.
        QTimer interruptPoll;
        QObject::connect(&interruptPoll, &QTimer::timeout, [this] {
            if (Interrupts() > 0 && !stopping_) {
                stopping_ = true;
                if (fleet_.Running())
                    std::cerr << FleetText("Stopping") << std::endl;
                fleet_.Stop();
            }
            if (Interrupts() > 1)
                fleet_.Cancel();
        });
        interruptPoll.start(100);
        if (fleet_.Running())
            loop_.exec();
        std::cout << fleet_.SummaryText() << std::endl;
        const bool allGood = fleet_.Failed() == 0 && notOpened_ == 0 && fleet_.Written() > 0 &&
                             fleet_.Interrupted() == 0;
        return allGood ? 0 : kExitFailed;
    }

    void ConfirmChanges(const FleetQuestion& question) override
    {
        std::cout << FleetText("PreviewFor", {question.radios}) << '\n'
                  << (question.changes.empty() ? std::string() : SafeText("ChangesHeading") + "\n")
                  << ChangesText(question.changes);
        if (yes_) {
            std::cout << std::flush;
            fleet_.Answer(true);
            return;
        }
        std::cout << std::flush;
        std::cerr << SafeText(question.changes.empty() ? "WriteAnyway" : "ConfirmWrite") << " [y/N] " << std::flush;
        answer_.clear();
        if (input_) {
            input_->setEnabled(true);
            return;
        }
        input_ = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(input_.get(), &QSocketNotifier::activated, [this] {
            char c = 0;
            const ssize_t n = read(STDIN_FILENO, &c, 1);
            if (n == 1 && c != '\n') {
                answer_ += c;
                return;
            }
            input_->setEnabled(false);
            fleet_.Answer(answer_ == "y" || answer_ == "Y" || answer_ == "yes");
        });
    }
    void Recorded(size_t index, const FleetRecord& r) override
    {
        std::cout << RadioResultLine(fleet_.Port(index).Name(), r) << std::endl;
        if (r.result == FleetResult::Interrupted && r.writeBegun)
            std::cerr << RestoreHint(r) << std::endl;
    }
    void ShowPort(size_t index) override
    {
        // A radio done already, seen again on a cable: said once, as the
        // window shows it in its row.
        const TFleetPort& port = fleet_.Port(index);
        if (port.State() == FleetState::AlreadyDone && shown_[index] != FleetState::AlreadyDone)
            std::cout << FleetText("PortNotOpened", {port.Name(), port.StateText()}) << std::endl;
        shown_[index] = port.State();
    }
    void PortNotOpened(size_t index) override
    {
        ++notOpened_;
        std::cerr << FleetText("PortNotOpened", {fleet_.Port(index).Name(), fleet_.Port(index).Message()}) << std::endl;
    }
    void Ended() override
    {
        QTimer::singleShot(0, &loop_, [this] { loop_.quit(); });
    }

private:
    bool yes_;
    QElapsedTimer clock_;
    // The ports and clocks outlive the fleet that works on them.
    std::vector<std::unique_ptr<TPlatformSerialPort>> ports_;
    std::vector<std::unique_ptr<TQtLinkClock>> clocks_;
    QObject context_;
    std::vector<std::unique_ptr<TSharedLoopClock>> sharedClocks_;
    std::vector<std::unique_ptr<TSharedLoopPort>> sharedPorts_;
    TFleet fleet_{*this, [this] { return static_cast<long>(clock_.elapsed()); }};
    std::unique_ptr<QSocketNotifier> input_;
    std::string answer_;
    QEventLoop loop_;
    bool stopping_ = false;
    int notOpened_ = 0;
    std::vector<FleetState> shown_; // each port's state as last shown
};
} // namespace

void AddFleetOptions(CLI::App& command, FleetCliOptions& f)
{
    command.add_flag("--all-ports", f.allPorts, "write into a radio on every port listed as usable, all at once")
        ->excludes(command.get_option("--port"));
    CLI::Option* watch = command.add_flag("--watch", f.watch,
                                          "hands-free: on each port, write each radio plugged in, until Ctrl+C");
    command.add_flag("--again", f.rewriteDone, "with --watch: write a radio whose serial number is done already")
        ->needs(watch);
    command
        .add_option("--log", f.log, "append one CSV line per radio to FILE (default: fleet.csv in the backup folder)")
        ->type_name("FILE");
}

bool IsFleetWrite(const LinkOptions& o, const FleetCliOptions& f)
{
    return f.allPorts || f.watch || f.log || (o.port && o.port->find(',') != std::string::npos);
}

int CommandFleetWrite(const LinkOptions& o, const FleetCliOptions& f)
{
    QtRun qt;
    StartFirstDocument();
    std::string fileName = o.file;
    if (OpenDocumentFile(fileName) != ReadResult::Ok)
        return kExitFailed;

    // The ports: the list given, each with its device from the device list
    // when there is one, or every port listed as usable.
    std::vector<std::string> names;
    if (f.allPorts) {
        for (const PortDevice& p : EnumeratePorts())
            names.push_back(PortName(p.number));
    } else {
        names = SplitList(UpperAscii(o.port.value_or(ALL.ComPort)));
    }
    const std::vector<std::string> devices = o.device ? SplitList(*o.device) : std::vector<std::string>{};
    for (size_t i = 0; i < names.size() && i < devices.size(); ++i)
        if (std::optional<int> n = PortNumberOf(names[i]))
            MapPortForRun(*n, devices[i]);
    if (names.empty()) {
        std::cerr << Language.PortError << '\n';
        return kExitFailed;
    }

    CliFleet fleet(o.yes);
    TPlatformSystemView machine;
    for (const std::string& name : names) {
        std::optional<int> n = PortNumberOf(name);
        fleet.Add(name, FollowedName(machine, n ? DeviceOfPort(*n).value_or("") : ""));
    }
    FleetOptions options;
    const std::string folder = o.backupDir ? *o.backupDir : BackupFolder();
    options.write = {!o.noBackup, !o.noVerify, folder};
    options.logFile = f.log ? *f.log : folder + "/fleet.csv";
    options.watch = f.watch;
    options.rewriteDone = f.rewriteDone;
    options.sha256 = Sha256Hex(ALL.Image.data(), ALL.Image.size());
    options.document = {DocumentContents(), FrqList.CodeOf(ALL.BandText)};
    options.link = {ALL.BaudRate, ALL.IdentString};

    CountInterrupts();
    return fleet.Run(options);
}

void CountInterrupts()
{
    CatchInterrupts(OnInterrupt);
}

int Interrupts()
{
    return interrupts;
}
