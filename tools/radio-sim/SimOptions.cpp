// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/radio-sim/SimOptions.h"

#include "base/NumberText.h"

const char* const kSimUsage =
    "Usage: qv300-radio-sim [OPTION]...\n"
    "Opens a pseudo-terminal, prints its path as the first line and answers on\n"
    "it as a QV-300 radio, session after session, until stopped.\n"
    "\n"
    "  --memory FILE.dat    start from this data file (default: a built-in sample)\n"
    "  --model CODE         the model code the radio reports (default: QV30)\n"
    "  --pace               spend 11 bit times at 4800 baud per byte, both ways\n"
    "  --save FILE.dat      write the memory to FILE.dat after each write session\n"
    "  --radios N           serve N independent radios, one pseudo-terminal each;\n"
    "                       their paths are the first N lines, in order\n"
    "  --control FILE       read \"unplug K\" and \"plug K\" lines appended to FILE:\n"
    "                       radio K (from 1) leaves its cable, or a new radio with\n"
    "                       the next serial number takes its place; \"pull K\" and\n"
    "                       \"insert K\": cable K's device goes away with its radio\n"
    "                       still on it, and comes back under another name, whose\n"
    "                       path is printed as a further line\n"
    "  --links DIR          keep DIR/cable-K leading to cable K's device, as udev's\n"
    "                       /dev/serial/by-path links do\n"
    "  --help               show this help and quit\n"
    "  --version            show the version and quit\n"
    "\n"
    "Faults:\n"
    "  --wrong-tag          identification reply with a wrong exchanged tag\n"
    "  --unknown-model      identification reply with a model code no catalogue has\n"
    "  --wrong-response     wrong reply to the identification block\n"
    "  --silent-at POINT    no reply at POINT\n"
    "  --short-reply N      the data reply for block N is cut short\n"
    "  --refuse-write N     write request for block N answered with 15, not 06\n"
    "  --hang-up-after N    close the pseudo-terminal after replying for block N\n"
    "  --corrupt-write N    acknowledge write block N, then flip a bit of it in memory\n"
    "  --power-loss-after N power fails after write block N: silent until the host\n"
    "                       gives up, blocks written so far kept; strikes once\n"
    "  --noise-at POINT     noise bytes go out before the reply at POINT\n"
    "  --noise-count K      how many noise bytes (default 3)\n"
    "  --echo               every byte comes back, no radio answers (plug not fully in)\n"
    "  --fault-session S    faults only in session S (from 1), not in every one\n"
    "  --fault-radio K      faults only in radio K (from 1), not in every one\n"
    "POINT is program, ident, auth, ack:N (the N-th acknowledge of a session,\n"
    "from 0) or block:N (the read or write request of block N; N alone works too).\n";

namespace {
std::optional<int> ParseCount(const std::string& text)
{
    std::optional<int> n = ParseInteger(text);
    if (!n || *n < 0)
        return std::nullopt;
    return n;
}
}

ParsedOptions ParseSimOptions(const std::vector<std::string>& args)
{
    SimOptions o;
    RadioFaults& f = o.faults;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto fail = [&](const std::string& why) { return ParsedOptions{std::nullopt, a + ": " + why}; };
        if (a == "--help" || a == "-h")
            return {std::nullopt, ""};
        if (a == "--version")
            return {std::nullopt, "", true};
        if (a == "--pace") {
            o.pace = true;
        } else if (a == "--wrong-tag") {
            f.wrongTag = true;
        } else if (a == "--unknown-model") {
            f.unknownModel = true;
        } else if (a == "--wrong-response") {
            f.wrongResponse = true;
        } else if (a == "--echo") {
            f.echo = true;
        } else {
            // Everything else takes a value.
            static const char* const kWithValue[] = {
                "--memory",      "--model",         "--save",          "--silent-at",
                "--short-reply", "--refuse-write",  "--hang-up-after", "--noise-at",
                "--noise-count", "--fault-session", "--corrupt-write", "--power-loss-after",
                "--radios",      "--fault-radio",   "--control",       "--links"};
            bool known = false;
            for (const char* name : kWithValue)
                known = known || a == name;
            if (!known)
                return fail("unknown option");
            if (i + 1 >= args.size())
                return fail("needs a value");
            const std::string& v = args[++i];
            std::optional<int> n = ParseCount(v);
            std::optional<ExchangePoint> point = ParseExchangePoint(v);
            if (a == "--memory") {
                o.memoryFile = v;
            } else if (a == "--model") {
                if (v.size() != 4)
                    return fail("a model code has four characters");
                o.modelCode = v;
            } else if (a == "--control") {
                o.controlFile = v;
            } else if (a == "--links") {
                o.linksFolder = v;
            } else if (a == "--save") {
                o.saveFile = v;
            } else if (a == "--silent-at" || a == "--noise-at") {
                if (!point)
                    return fail("not a point: " + v);
                (a == "--silent-at" ? f.silentAt : f.noiseAt) = point;
            } else if (!n) {
                return fail("not a number: " + v);
            } else if (a == "--short-reply") {
                f.shortReplyBlock = n;
            } else if (a == "--refuse-write") {
                f.refuseWriteBlock = n;
            } else if (a == "--hang-up-after") {
                f.hangUpAfterBlock = n;
            } else if (a == "--corrupt-write") {
                f.corruptWriteBlock = n;
            } else if (a == "--power-loss-after") {
                f.powerLossAfterBlock = n;
            } else if (a == "--noise-count") {
                f.noiseCount = static_cast<size_t>(*n);
            } else if (a == "--radios" || a == "--fault-radio") {
                if (*n < 1)
                    return fail("radios count from 1");
                if (a == "--radios")
                    o.radios = *n;
                else
                    o.faultRadio = n;
            } else if (a == "--fault-session") {
                if (*n < 1)
                    return fail("sessions count from 1");
                f.onlyInSession = n;
            }
        }
    }
    return {o, ""};
}
