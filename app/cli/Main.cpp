// qv300-cli: the program's document operations without a window.
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/Catalogue.h"
#include "core/State.h"
#include "app/cli/LinkCommands.h"
#include "core/DocumentFiles.h"
#include "image/formats/JsonDump.h"
#include "settings/MsgBox.h"

namespace {
constexpr int kExitUsage = 1;
constexpr int kExitFailed = 2;

const char* kUsage =
    "usage: qv300-cli new OUT.dat [--band TEXT] [--force]\n"
    "       qv300-cli dump FILE.dat\n"
    "%LINK%"
    "\n"
    "  new   writes the data file of a new document (the default band unless\n"
    "        --band names one of: 134 - 174MHz, 200 - 260MHz, 320 - 400MHz,\n"
    "        400 - 520MHz); an existing file is replaced only with --force\n"
    "  dump  prints a data file as JSON\n"
    "  read  reads the radio on the port into a data file (none on failure)\n"
    "  write writes a data file into the radio; --count N into N radios one\n"
    "        after another, asking before each next one unless --yes\n"
    "  ports lists the COM names with the device behind each\n"
    "  --port names the COM port of this run (default: Com of SysInfo.Ini),\n"
    "  --device the device behind it; neither is saved\n";

std::string UsageText()
{
    std::string text = kUsage;
    text.replace(text.find("%LINK%"), 6, kLinkUsage);
    return text;
}

int Usage()
{
    std::cerr << UsageText();
    return kExitUsage;
}

bool IsBandText(const std::string& text)
{
    for (const auto& row : kBandTable)
        if (text == row.text)
            return true;
    return false;
}

int CommandNew(const std::vector<std::string>& args)
{
    std::optional<std::string> out;
    std::optional<std::string> band;
    bool force = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--band" && i + 1 < args.size())
            band = args[++i];
        else if (args[i] == "--force")
            force = true;
        else if (!out && !args[i].empty() && args[i][0] != '-')
            out = args[i];
        else
            return Usage();
    }
    if (!out)
        return Usage();
    if (band && !IsBandText(*band)) {
        std::cerr << "qv300-cli: unknown band \"" << *band << "\"\n";
        return Usage();
    }
    std::error_code ec;
    if (!force && std::filesystem::exists(std::filesystem::symlink_status(*out, ec))) {
        std::cerr << "qv300-cli: " << *out << " exists; use --force to replace it\n";
        return kExitFailed;
    }

    // The same steps as the program's start: the first catalogue model with
    // its default band, or with the band asked for.
    StartFirstDocument(band ? std::optional<uint8_t>(FrqList.CodeOf(*band)) : std::nullopt);
    return SaveDocumentFile(*out) ? 0 : kExitFailed;
}

int CommandDump(const std::vector<std::string>& args)
{
    if (args.size() != 1 || args[0].empty())
        return Usage();
    std::string fileName = args[0];
    FileHeaderTexts header;
    // Opened on the document the program starts with, as the window's Open
    // is: what the file does not hold keeps that document's bytes.
    StartFirstDocument();
    if (OpenDocumentFile(fileName, &header) != ReadResult::Ok)
        return kExitFailed;
    std::cout << DocumentToJson(header);
    return std::cout ? 0 : kExitFailed;
}
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    std::string command = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "-h" || command == "--help") {
        std::cout << UsageText();
        return 0;
    }
    if (command != "new" && command != "dump" && command != "read" && command != "write" && command != "ports")
        return Usage();

    SetMsgBoxHandler([](const std::string&, const std::string& text, int kind) {
        std::cerr << text << '\n';
        return kind == kMsgQuestion ? static_cast<int>(kMsgNo) : static_cast<int>(kMsgOk);
    });
    DataModuleCreate(ExecutableFolder(argv[0]));

    if (command == "read")
        return CommandRead(args);
    if (command == "write")
        return CommandWrite(args);
    if (command == "ports")
        return CommandPorts(args);
    return command == "new" ? CommandNew(args) : CommandDump(args);
}
