// SPDX-License-Identifier: GPL-3.0-or-later
// qv300-cli: the program's document operations without a window.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/CliOutput.h"
#include "app/cli/Console.h"
#include "app/cli/DoctorCommand.h"
#include "app/cli/ExitCodes.h"
#include "app/cli/FormatCommands.h"
#include "app/cli/LinkCommands.h"
#include "app/cli/SafeCommands.h"
#include "app/Startup.h"
#include "core/Catalogue.h"
#include "core/State.h"
#include "document/DocumentFiles.h"
#include "image/formats/JsonDump.h"
#include "settings/MsgBox.h"

namespace {
int CommandNew(const std::string& out, const std::optional<std::string>& band, bool force)
{
    if (!OutputAllowed(out, force))
        return kExitFailed;
    // The same steps as the program's start: the first catalogue model with
    // its default band, or with the band asked for.
    StartFirstDocument(band ? std::optional<uint8_t>(FrqList.CodeOf(*band)) : std::nullopt);
    return WriteDataFile(out, force) ? 0 : kExitFailed;
}

int CommandDump(std::string fileName)
{
    FileHeaderTexts header;
    // Opened on the document the program starts with, as the window's Open
    // is: what the file does not hold keeps that document's bytes.
    StartFirstDocument();
    if (OpenDocumentFile(fileName, &header) != ReadResult::Ok)
        return kExitFailed;
    std::cout << DocumentToJson(header);
    return 0;
}

// A command whose output did not reach standard output (a full disk, a
// closed pipe) failed, whatever it made of its work; an interruption stays
// one.
int CheckedStandardOutput(int code)
{
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int err = errno;
    if (flushed && !std::ferror(stdout) && std::cout)
        return code;
    std::cerr << "qv300-cli: cannot write standard output" << (err ? std::string(": ") + std::strerror(err) : "")
              << '\n';
    return code == kExitInterrupted ? code : kExitFailed;
}

void AddNewCommand(CLI::App& app, CommandRun& run)
{
    struct Options {
        std::string out;
        std::optional<std::string> band;
        bool force = false;
    };
    auto o = std::make_shared<Options>();
    std::vector<std::string> bands;
    for (const auto& row : kBandTable)
        bands.push_back(row.text);
    CLI::App* command = app.add_subcommand("new", "writes the data file of a new document");
    command->add_option("OUT.dat", o->out, "the data file to write")
        ->required()
        ->check(CLI::Validator(
            [](std::string& text) { return text.empty() ? std::string("empty file name") : std::string(); }, ""));
    command->add_option("--band", o->band, "the band (default: the first model's own)")
        ->check(CLI::IsMember(bands))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    command->add_flag("--force", o->force, "replace an existing file (kept otherwise)");
    command->callback([o, &run] { run = [o] { return CommandNew(o->out, o->band, o->force); }; });
}

void AddDumpCommand(CLI::App& app, CommandRun& run)
{
    auto file = std::make_shared<std::string>();
    CLI::App* command = app.add_subcommand("dump", "prints a data file as JSON, opened as Open opens it");
    command->add_option("FILE.dat", *file, "the data file to print")
        ->required()
        ->check(CLI::Validator(
            [](std::string& text) { return text.empty() ? std::string("empty file name") : std::string(); }, ""));
    command->callback([file, &run] { run = [file] { return CommandDump(*file); }; });
}
} // namespace

int main(int argc, char** argv)
{
    PrepareConsole();
    TUtf8Arguments arguments(argc, argv);
    argc = arguments.argc();
    argv = arguments.argv();
    CLI::App app("qv300-cli: the program's document operations without a window.", "qv300-cli");
    app.require_subcommand(1);
    // The options are --name everywhere: CLI11 on Windows would otherwise
    // also take "/name", and so read a path like /tmp/out.dat as an option.
    app.allow_windows_style_options(false);
    app.set_version_flag("--version", std::string("qv300-cli ") + QV300_VERSION);
    app.footer(
        "Exit codes: 0 success, 1 wrong usage, 2 failure, 3 (doctor) a cause was found, "
        "3 (diff, verify) the two differ. COMMAND --help shows a command's options.");
    CommandRun run;
    AddNewCommand(app, run);
    AddDumpCommand(app, run);
    AddFormatCommands(app, run);
    AddLinkCommands(app, run);
    AddSafeCommands(app, run);
    AddDoctorCommand(app, run);
    // A word that is no command would otherwise be reported as a missing one.
    const std::string first = argc > 1 ? argv[1] : "";
    if (!first.empty() && first[0] != '-' &&
        app.get_subcommands([&first](CLI::App* command) { return command->check_name(first); }).empty()) {
        std::cerr << "qv300-cli: unknown command: " << first << "\n\n" << app.help();
        return kExitUsage;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0)
            return CheckedStandardOutput(app.exit(e)); // --help, --version
        // The error, then the help of the command it concerns.
        std::cerr << "qv300-cli: " << e.what() << "\n\n" << app.help();
        return kExitUsage;
    }

    SetMsgBoxHandler([](const std::string&, const std::string& text, int kind) {
        std::cerr << text << '\n';
        return kind == kMsgQuestion ? static_cast<int>(kMsgNo) : static_cast<int>(kMsgOk);
    });
    DataModuleCreate(ExecutableFolder(argv[0]));
    return CheckedStandardOutput(run());
}
