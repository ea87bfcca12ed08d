// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/SafeCommands.h"

#include <QEventLoop>
#include <QTimer>
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "app/cli/CliLink.h"
#include "app/cli/FleetCommand.h"
#include "app/cli/QtRun.h"
#include "app/Startup.h"
#include "core/State.h"
#include "document/Backups.h"
#include "document/ContentsDiff.h"
#include "document/DocumentFiles.h"
#include "document/FleetTexts.h"
#include "document/RadioContents.h"
#include "document/SafeTexts.h"
#include "link/SafeWrite.h"
#include "settings/Folders.h"

namespace {
std::string FolderOfRun(const LinkOptions& o)
{
    return o.backupDir ? *o.backupDir : BackupFolder();
}

const char* KindName(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::Model:
        return "model";
    case ChangeKind::Band:
        return "band";
    case ChangeKind::ChannelAdded:
        return "channel_added";
    case ChangeKind::ChannelDeleted:
        return "channel_deleted";
    case ChangeKind::ChannelField:
        return "channel_field";
    case ChangeKind::Setting:
        return "setting";
    case ChangeKind::OtherData:
        return "other_data";
    }
    return "";
}

// The differences on standard output, in words or as JSON; the exit code
// says whether there were any.
int PrintChanges(const std::vector<ContentChange>& changes, bool json)
{
    if (json) {
        nlohmann::json out = {{"equal", changes.empty()}, {"changes", nlohmann::json::array()}};
        for (const ContentChange& c : changes)
            out["changes"].push_back({{"kind", KindName(c.kind)},
                                      {"key", c.key},
                                      {"place", c.place},
                                      {"field", c.field},
                                      {"before", c.before},
                                      {"after", c.after},
                                      {"text", ChangeLine(c)}});
        std::cout << out.dump(2) << '\n';
    } else {
        std::cout << ChangesText(changes);
    }
    if (!std::cout)
        return kExitFailed;
    return changes.empty() ? 0 : kExitDiffer;
}

std::optional<RadioContents> OpenContents(const std::string& path)
{
    std::string error;
    std::optional<RadioContents> contents = ReadContentsFile(path, &error);
    if (!contents)
        std::cerr << error << '\n';
    return contents;
}

// Runs one safe write after another on one port; the preview goes to
// standard output and is confirmed with --yes or on the terminal.
class CliSafeWrite : public TSafeWriteView {
public:
    explicit CliSafeWrite(bool yes) : yes_(yes), write_(port_, clock_, *this) {}
    ~CliSafeWrite() override { write_.Close(); }
    TSafeWrite& Write() { return write_; }

    bool Open(const std::string& portName) { return write_.Open(portName, {ALL.BaudRate, ALL.IdentString}); }
    bool Run(const SafeWriteOptions& options)
    {
        done_ = false;
        // Ctrl+C: a radio being written finishes its write and verify, one
        // not yet written is left alone; again: the write stops at once.
        QTimer interruptPoll;
        QObject::connect(&interruptPoll, &QTimer::timeout, [this] {
            const SafePhase phase = write_.Phase();
            const bool writing = phase == SafePhase::Writing || phase == SafePhase::Verifying;
            if (Interrupts() > 1 || (Interrupts() > 0 && !writing))
                write_.Cancel();
            else if (Interrupts() > 0 && !stopping_)
                std::cerr << FleetText("Stopping") << std::endl;
            stopping_ = Interrupts() > 0;
        });
        interruptPoll.start(100);
        write_.Start(options, {DocumentContents(), FrqList.CodeOf(ALL.BandText)});
        if (!done_)
            loop_.exec();
        return write_.Outcome().link.result == LinkResult::Succeeded;
    }
    bool Stopping() const { return Interrupts() > 0; }

    void ConfirmChanges(const std::vector<ContentChange>& changes) override
    {
        std::cout << (changes.empty() ? std::string() : SafeText("ChangesHeading") + "\n") << ChangesText(changes);
        const std::string question = SafeText(changes.empty() ? "WriteAnyway" : "ConfirmWrite");
        if (yes_) {
            std::cout << std::flush;
            write_.Answer(true);
            return;
        }
        std::cerr << question << " [y/N] " << std::flush;
        std::string line;
        const bool write = std::getline(std::cin, line) && (line == "y" || line == "Y" || line == "yes");
        write_.Answer(write);
    }
    void Finished(const SafeOutcome& outcome) override
    {
        // The document keeps the model block and write time, as the write
        // window leaves them, for the next radio's comparison.
        TakeWriteMarksIntoDocument(outcome.sent);
        if (outcome.link.result == LinkResult::Failed) {
            std::cerr << SafeOutcomeText(outcome, write_.BackupFile()) << '\n';
            if (LineFailure(outcome))
                std::cerr << DoctorText("RunDoctor") << '\n';
        }
        done_ = true;
        QTimer::singleShot(0, &loop_, [this] { loop_.quit(); });
    }

private:
    bool yes_;
    bool done_ = false;
    bool stopping_ = false;
    TPlatformSerialPort port_;
    TQtLinkClock clock_;
    TSafeWrite write_;
    QEventLoop loop_;
};

int CommandDiff(const std::string& a, const std::string& b, bool json)
{
    StartFirstDocument();
    std::optional<RadioContents> before = OpenContents(a), after = OpenContents(b);
    if (!before || !after)
        return kExitFailed;
    const std::vector<ContentChange> changes = DiffContents(*before, *after);
    // Two files, no radio: the words for "nothing differs" are not the write's.
    if (changes.empty() && !json) {
        std::cout << SafeText("FilesEqual") << '\n';
        return std::cout ? 0 : kExitFailed;
    }
    return PrintChanges(changes, json);
}

int CommandVerify(const LinkOptions& o)
{
    QtRun qt;
    ApplyPortOptions(o);
    StartFirstDocument();
    std::optional<RadioContents> file = OpenContents(o.file);
    if (!file)
        return kExitFailed;
    CliLink link(kReadJob, kReadWindow);
    if (!link.Open() || !link.Run(false) || !link.Link().ReadSucceeded())
        return kExitFailed;
    // The bytes beyond the read's reach are the file's.
    std::array<uint8_t, kImageSize> radio = file->image;
    const std::vector<uint8_t>& read = link.Outcome()->bytes;
    std::copy_n(read.begin(), std::min(read.size(), radio.size()), radio.begin());
    return PrintChanges(DiffContents(*file, RadioContents{link.Link().ReceivedModelCode(), "", radio}), o.json);
}

int CommandBackups(const LinkOptions& o)
{
    StartFirstDocument();
    const std::string folder = FolderOfRun(o);
    const std::vector<BackupEntry> entries = ListBackups(folder);
    if (entries.empty())
        std::cerr << SafeText("NoBackups", {folder}) << '\n';
    for (const BackupEntry& e : entries)
        std::cout << e.serial << '\t' << e.time << '\t' << e.model << '\t' << e.band << '\t' << e.path << '\n';
    return std::cout ? 0 : kExitFailed;
}

void AddJsonFlag(CLI::App& command, bool& json)
{
    command.add_flag("--json", json, "print the differences as JSON");
}
} // namespace

void AddSafeWriteOptions(CLI::App& command, LinkOptions& o)
{
    command.add_flag("--no-backup", o.noBackup, "do not read and save the radio's contents before writing");
    command.add_flag("--no-verify", o.noVerify, "do not read the radio back and compare after writing");
    command.add_option("--backup-dir", o.backupDir, "save the backups in DIR (default: the program's backup folder)")
        ->type_name("DIR");
}

int CommandWrite(const LinkOptions& o)
{
    QtRun qt;
    ApplyPortOptions(o);
    StartFirstDocument();
    std::string fileName = o.file;
    if (OpenDocumentFile(fileName) != ReadResult::Ok)
        return kExitFailed;

    CliSafeWrite write(o.yes);
    if (!write.Open(ALL.ComPort))
        return kExitFailed;
    CountInterrupts();
    const SafeWriteOptions options{!o.noBackup, !o.noVerify, FolderOfRun(o)};
    for (int radio = 1; radio <= o.count && !write.Stopping(); ++radio) {
        if (radio > 1 && !o.yes) {
            std::cerr << "Connect radio " << radio << " of " << o.count << " and press Enter (Ctrl+D stops)."
                      << std::endl;
            std::string line;
            if (!std::getline(std::cin, line))
                return kExitFailed;
        }
        const bool ok = write.Run(options);
        const TSafeWrite& w = write.Write();
        // The next radio's preview is shown only when it holds something
        // else than the first one did.
        if (radio == 1)
            write.Write().SkipPreviewFor(w.RadioBefore());
        const bool interrupted = w.Outcome().link.result == LinkResult::Cancelled && write.Stopping();
        const std::string result = ok            ? SafeOutcomeText(w.Outcome(), w.BackupFile())
                                   : interrupted ? FleetText("ResultInterrupted")
                                                 : std::string("failed");
        if (options.backup) {
            const std::string serial = w.SerialNumber().empty() ? SafeText("NoSerial") : w.SerialNumber();
            const std::string backup = w.BackupFile().empty() ? SafeText("NoBackup") : w.BackupFile();
            std::cout << SafeText("ResultLine", {std::to_string(radio), serial, result, backup}) << std::endl;
        } else {
            std::cout << "radio " << radio << ": " << result << std::endl;
        }
        const SafePhase cut = w.Outcome().phase;
        if (interrupted && (cut == SafePhase::Writing || cut == SafePhase::Verifying)) {
            FleetRecord r;
            r.port = ALL.ComPort;
            r.device = o.device.value_or("");
            r.serial = w.SerialNumber();
            r.backupFile = w.BackupFile();
            std::cerr << RestoreHint(r) << std::endl;
        }
        if (!ok)
            return kExitFailed;
    }
    return 0;
}

void AddSafeCommands(CLI::App& app, CommandRun& run)
{
    struct DiffOptions {
        std::string a, b;
        bool json = false;
    };
    auto diff = std::make_shared<DiffOptions>();
    CLI::App* command = app.add_subcommand(
        "diff", "prints what differs between two data files in words; exit 0 equal, 3 different, 2 failure");
    command->add_option("A.dat", diff->a, "the data file before")->required();
    command->add_option("B.dat", diff->b, "the data file after")->required();
    AddJsonFlag(*command, diff->json);
    command->callback([diff, &run] { run = [diff] { return CommandDiff(diff->a, diff->b, diff->json); }; });

    auto verify = std::make_shared<LinkOptions>();
    command = app.add_subcommand(
        "verify",
        "reads the radio and compares it with a data file, writing nothing; exit 0 equal, 3 different, 2 failure");
    command->add_option("FILE.dat", verify->file, "the data file the radio should hold")->required();
    AddPortOptions(*command, *verify);
    AddJsonFlag(*command, verify->json);
    command->callback([verify, &run] { run = [verify] { return CommandVerify(*verify); }; });

    auto backups = std::make_shared<LinkOptions>();
    command = app.add_subcommand("backups",
                                 "lists the backups, newest first: serial number, date and time, model, band, file");
    command->add_option("--backup-dir", backups->backupDir, "the backup folder (default: the program's)")
        ->type_name("DIR");
    command->callback([backups, &run] { run = [backups] { return CommandBackups(*backups); }; });

    auto restore = std::make_shared<LinkOptions>();
    command = app.add_subcommand("restore",
                                 "writes a backup back into the radio, with a backup and a verify of its own");
    command->add_option("BACKUP.dat", restore->file, "the backup to write")->required();
    AddPortOptions(*command, *restore);
    command->add_flag("--yes", restore->yes, "write without asking");
    command->add_option("--backup-dir", restore->backupDir, "save the new backup in DIR")->type_name("DIR");
    command->callback([restore, &run] { run = [restore] { return CommandWrite(*restore); }; });
}
