// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/FormatCommands.h"

#include <CLI/CLI.hpp>
#include <QGuiApplication>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>

#include "app/cli/CliOutput.h"
#include "app/cli/ExitCodes.h"
#include "app/Startup.h"
#include "core/State.h"
#include "document/DocumentFiles.h"
#include "image/formats/ChirpCsv.h"
#include "image/formats/InterchangeTexts.h"
#include "image/formats/JsonDump.h"
#include "image/formats/JsonLoad.h"
#include "image/formats/PrintContent.h"
#include "image/formats/qt/PrintPainter.h"

namespace {
struct FormatOptions {
    std::string in;
    std::string out;
    std::string format = "csv";
    std::optional<std::string> base;
    bool keepLocations = false;
    bool partial = false;
    bool force = false;
};

std::optional<std::string> ReadText(const std::string& path)
{
    int err = 0;
    std::optional<std::string> text = ReadFileBounded(path, kMaxExchangeFileSize, true, err);
    if (!text)
        std::cerr << "qv300-cli: cannot read " << path << ": " << std::strerror(err) << '\n';
    return text;
}

// The document to build on: the --base file opened as Open opens it, or a
// new document.
bool StartDocument(const std::optional<std::string>& base)
{
    StartFirstDocument();
    if (!base)
        return true;
    std::string name = *base;
    FileHeaderTexts header;
    if (OpenDocumentFile(name, &header) != ReadResult::Ok)
        return false;
    // The file written keeps the base's own family code, as every other byte.
    ALL.FamilyCode = header.FamilyCode;
    return true;
}

// The offscreen platform unless the caller chose one: the pages need fonts,
// not a display.
std::string PdfOf(const std::string& in)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "qv300-cli";
    char* argv[] = {name, nullptr};
    // The offscreen platform warns of a missing XDG_RUNTIME_DIR, which a
    // PDF made in memory never uses: that is no news for the user.
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (!text.startsWith("QStandardPaths: XDG_RUNTIME_DIR") && previous)
            previous(type, context, text);
    });
    QGuiApplication app(argc, argv);
    const QByteArray pdf = PdfBytes(ComposePrint(in));
    return std::string(pdf.constData(), static_cast<size_t>(pdf.size()));
}

int CommandExport(const FormatOptions& o)
{
    if (o.format == "pdf" && o.out.empty()) {
        std::cerr << "qv300-cli: a PDF needs an OUT file\n";
        return kExitUsage;
    }
    const std::string out = o.out.empty() ? "-" : o.out;
    if (!OutputAllowed(out, o.force, {o.in}))
        return kExitFailed;
    FileHeaderTexts header;
    StartFirstDocument();
    std::string name = o.in;
    if (OpenDocumentFile(name, &header) != ReadResult::Ok)
        return kExitFailed;
    std::vector<std::string> notes;
    const std::string bytes = o.format == "pdf"    ? PdfOf(o.in)
                              : o.format == "json" ? DocumentToJson(header)
                                                   : DocumentToChirpCsv(&notes);
    if (bytes.empty()) {
        std::cerr << "qv300-cli: the pages could not be made\n";
        return kExitFailed;
    }
    for (const std::string& note : notes)
        std::cerr << o.in << ": " << note << '\n';
    return WriteOutput(out, bytes, o.force) ? 0 : kExitFailed;
}

int CommandImport(const FormatOptions& o)
{
    if (!OutputAllowed(o.out, o.force, {o.in, o.base.value_or("")}))
        return kExitFailed;
    std::optional<std::string> text = ReadText(o.in);
    if (!text || !StartDocument(o.base))
        return kExitFailed;
    ChirpCsvOptions options;
    options.keepLocations = o.keepLocations;
    options.replaceChannels = true;
    const ChirpCsvReport report = ChirpCsvToDocument(*text, options);
    if (!report.Ok()) {
        std::cerr << o.in << ": " << report.failure << '\n';
        return kExitFailed;
    }
    for (const std::string& line : RefusalLines(report))
        std::cerr << o.in << ": " << line << '\n';
    for (const std::string& line : ChangeLines(report))
        std::cerr << o.in << ": " << line << '\n';
    for (const std::string& note : report.notes)
        std::cerr << o.in << ": " << note << '\n';
    if (report.taken == 0) {
        std::cerr << o.in << ": " << InterchangeText("ImportFailed", {InterchangeText("NothingTaken")}) << '\n';
        return kExitFailed;
    }
    // Without --partial an import is all or nothing: a row left out writes
    // no file.
    if (!report.refused.empty() && !o.partial)
        return kExitFailed;
    return WriteDataFile(o.out, o.force) ? 0 : kExitFailed;
}

int CommandLoad(const FormatOptions& o)
{
    if (!OutputAllowed(o.out, o.force, {o.in, o.base.value_or("")}))
        return kExitFailed;
    std::optional<std::string> text = ReadText(o.in);
    if (!text || !StartDocument(o.base))
        return kExitFailed;
    const JsonLoadReport report = JsonToDocument(*text);
    if (!report.Ok()) {
        std::cerr << o.in << ": " << report.error << '\n';
        return kExitFailed;
    }
    return WriteDataFile(o.out, o.force) ? 0 : kExitFailed;
}

CLI::Validator NotEmpty()
{
    return CLI::Validator(
        [](std::string& text) { return text.empty() ? std::string("empty file name") : std::string(); }, "");
}
} // namespace

void AddFormatCommands(CLI::App& app, CommandRun& run)
{
    auto o = std::make_shared<FormatOptions>();

    CLI::App* exportCommand = app.add_subcommand("export", "writes a data file as CHIRP CSV, JSON or PDF");
    exportCommand->add_option("FILE.dat", o->in, "the data file to export")->required()->check(NotEmpty());
    exportCommand->add_option("OUT", o->out, "the file to write, - for standard output (the default, but not for pdf)");
    exportCommand->add_option("--format", o->format, "csv (CHIRP's channel list), json (as dump) or pdf (the printout)")
        ->check(CLI::IsMember({"csv", "json", "pdf"}))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    exportCommand->add_flag("--force", o->force, "replace an existing file (kept otherwise)");
    exportCommand->callback([o, &run] { run = [o] { return CommandExport(*o); }; });

    CLI::App* importCommand = app.add_subcommand(
        "import", "builds a data file from a CHIRP CSV channel list; every row not taken goes to standard error");
    importCommand->add_option("FILE.csv", o->in, "the channel list")->required()->check(NotEmpty());
    importCommand->add_option("OUT.dat", o->out, "the data file to write")->required()->check(NotEmpty());
    importCommand->add_option("--base", o->base, "start from this data file instead of a new document");
    importCommand->add_flag("--keep-locations", o->keepLocations,
                            "put each row into the channel its Location names (else in file order)");
    importCommand->add_flag("--partial", o->partial, "write the file even when rows were not taken");
    importCommand->add_flag("--force", o->force, "replace an existing file (kept otherwise)");
    importCommand->callback([o, &run] { run = [o] { return CommandImport(*o); }; });

    CLI::App* loadCommand = app.add_subcommand("load", "builds a data file from JSON as dump prints it");
    loadCommand->add_option("FILE.json", o->in, "the JSON text")->required()->check(NotEmpty());
    loadCommand->add_option("OUT.dat", o->out, "the data file to write")->required()->check(NotEmpty());
    loadCommand->add_option("--base", o->base,
                            "start from this data file: every byte the JSON does not describe is kept");
    loadCommand->add_flag("--force", o->force, "replace an existing file (kept otherwise)");
    loadCommand->callback([o, &run] { run = [o] { return CommandLoad(*o); }; });
}
