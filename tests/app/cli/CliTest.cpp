// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sys/stat.h>
#include <sys/wait.h>

#include "TestSupport.h"

TEST(Cli, NewWritesTheFileOfANewDocumentAndDumpReadsItBack)
{
    TempDir dir;
    std::string path = dir.file("a.dat");
    CliRun made = Cli(dir, "new " + Quote(path));
    ASSERT_EQ(made.exitCode, 0) << made.err;
    ASSERT_EQ(ReadAll(path).size(), 464u);

    CliRun dump = Cli(dir, "dump " + Quote(path));
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    auto doc = nlohmann::ordered_json::parse(dump.out);
    std::vector<std::string> keys;
    for (auto& [key, value] : doc.items())
        keys.push_back(key);
    EXPECT_EQ(keys,
              (std::vector<std::string>{"model_code", "family_code", "area_code", "model_name", "band", "write_time",
                                        "factory_time", "serial_number", "area", "settings", "channels"}));
    EXPECT_EQ(doc["model_code"], "QV30");
    EXPECT_EQ(doc["family_code"], "QV30");
    EXPECT_EQ(doc["area_code"], "    ");
    EXPECT_EQ(doc["model_name"], "QV-300");
    EXPECT_EQ(doc["band"], "400 - 520MHz");
    EXPECT_EQ(doc["write_time"].template get<std::string>().size(), 19u);
    EXPECT_EQ(doc["factory_time"], "");
    EXPECT_EQ(doc["serial_number"], "");
    EXPECT_TRUE(doc["channels"].is_array());
    EXPECT_TRUE(doc["channels"].empty());
}

TEST(Cli, NewTakesABandAndReplacesOnlyWithForce)
{
    TempDir dir;
    std::string path = dir.write("keep.dat", "mine");
    CliRun refused = Cli(dir, "new " + Quote(path) + " --band '200 - 260MHz'");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(ReadAll(path), "mine");

    CliRun forced = Cli(dir, "new " + Quote(path) + " --band '200 - 260MHz' --force");
    ASSERT_EQ(forced.exitCode, 0) << forced.err;
    std::string file = ReadAll(path);
    ASSERT_EQ(file.size(), 464u);
    EXPECT_EQ(static_cast<uint8_t>(file[0x175]), 0xF1);
    auto doc = nlohmann::json::parse(Cli(dir, "dump " + Quote(path)).out);
    EXPECT_EQ(doc["band"], "200 - 260MHz");

    EXPECT_EQ(Cli(dir, "new " + Quote(dir.file("b.dat")) + " --band 'nonsense'").exitCode, 1);
}

TEST(Cli, DumpShowsChannelsWithTheirListTexts)
{
    TempDir dir;
    std::string path = dir.file("ch.dat");
    ASSERT_EQ(Cli(dir, "new " + Quote(path)).exitCode, 0);
    std::string file = ReadAll(path);
    // Channel 1: 146.52500 both ways, RX tone 67.0, TX tone D023N, flags
    // High, Wide, Del, busy lock No, epilogue On, PTT ID Off (stored 3).
    const unsigned char ch1[16] = {0x00, 0x25, 0x65, 0x14, 0x00, 0x25, 0x65, 0x14,
                                   0x70, 0x06, 0x23, 0x80, 0x7F, 0xFF, 0xFF, 0xFF};
    file.replace(0x10, 16, reinterpret_cast<const char*>(ch1), 16);
    // Channel 3: RX only (no TX), PTT ID BOT (stored 2), Low, Narrow.
    const unsigned char ch3[16] = {0x00, 0x50, 0x60, 0x44, 0xFF, 0xFF, 0xFF, 0xFF,
                                   0xFF, 0xFF, 0x54, 0xC7, 0x56, 0xFF, 0xFF, 0xFF};
    file.replace(0x30, 16, reinterpret_cast<const char*>(ch3), 16);
    file.replace(0x190, 7, "\xE9\x07\x03\x04\x05\x06\x07");
    file.replace(0x1A0, 8, "sn 12345");
    dir.write("ch.dat", file);

    CliRun dump = Cli(dir, "dump " + Quote(path));
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    auto doc = nlohmann::json::parse(dump.out);
    EXPECT_EQ(doc["factory_time"], "2025-03-04 05:06:07");
    EXPECT_EQ(doc["serial_number"], "SN12345");
    ASSERT_EQ(doc["channels"].size(), 2u);
    EXPECT_EQ(doc["channels"][0], nlohmann::json::parse(R"({"number": 1, "rx": "146.52500", "tx": "146.52500",
        "rx_tone": "67.0", "tx_tone": "D023N", "power": "High", "bandwidth": "Wide", "scan_add": "Del",
        "busy_lock": "No", "epilogue": "On", "ptt_id": "Off"})"));
    EXPECT_EQ(doc["channels"][1], nlohmann::json::parse(R"({"number": 3, "rx": "446.05000", "tx": null,
        "rx_tone": "", "tx_tone": "D754I", "power": "Low", "bandwidth": "Narrow", "scan_add": "Del",
        "busy_lock": "No", "epilogue": "On", "ptt_id": "BOT"})"));
}

TEST(Cli, DumpOpensOnTheDocumentTheProgramStartsWith)
{
    // A file of only a header changes nothing of the start-up document, as
    // Open in the program: no channels, the settings of a new document.
    TempDir dir;
    std::string made = dir.file("new.dat");
    ASSERT_EQ(Cli(dir, "new " + Quote(made)).exitCode, 0);
    std::string header = dir.write("header.dat", ReadAll(made).substr(0, 16));
    CliRun dump = Cli(dir, "dump " + Quote(header));
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    auto doc = nlohmann::json::parse(dump.out);
    EXPECT_EQ(doc["channels"].size(), 0u);
    EXPECT_EQ(doc["settings"], nlohmann::json::parse(Cli(dir, "dump " + Quote(made)).out)["settings"]);
}

TEST(Cli, DumpFailsCleanlyAndNeverWrites)
{
    TempDir dir;
    std::string bad = dir.write("bad.dat", std::string("PQV31") + std::string(459, '\xFF'));
    CliRun wrong = Cli(dir, "dump " + Quote(bad));
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_NE(wrong.err.find("Model Type Wrong."), std::string::npos);
    EXPECT_EQ(wrong.out, "");
    EXPECT_EQ(ReadAll(bad).size(), 464u);

    std::string missing = dir.file("missing.dat");
    CliRun gone = Cli(dir, "dump " + Quote(missing));
    EXPECT_EQ(gone.exitCode, 2);
    EXPECT_NE(gone.err.find(missing), std::string::npos);
    EXPECT_NE(gone.err.find("No such file"), std::string::npos);

    EXPECT_EQ(Cli(dir, "").exitCode, 1);
    EXPECT_EQ(Cli(dir, "dump").exitCode, 1);
    EXPECT_EQ(Cli(dir, "dump a b").exitCode, 1);
    EXPECT_EQ(Cli(dir, "frobnicate").exitCode, 1);
    EXPECT_EQ(Cli(dir, "frobnicate").err.find("qv300-cli: unknown command: frobnicate\n"), 0u);
    EXPECT_EQ(Cli(dir, "new").exitCode, 1);
    EXPECT_EQ(Cli(dir, "new ''").exitCode, 1);
}

TEST(Cli, DumpShowsTheAreaAndEverySettingAsItsWindowShowsIt)
{
    TempDir dir;
    std::string path = dir.file("s.dat");
    ASSERT_EQ(Cli(dir, "new " + Quote(path)).exitCode, 0);
    auto fresh = nlohmann::ordered_json::parse(Cli(dir, "dump " + Quote(path)).out);
    // A blank area code is four characters that name no area.
    EXPECT_EQ(fresh["area"], "Unknown Area");
    EXPECT_EQ(fresh["settings"], nlohmann::ordered_json::parse(R"({
      "optional": {"squelch_level": "5", "tx_time_out": "180", "voice": "China", "tone": "On",
                   "incept_alarm": "On", "fm_function": "Turn on", "vol_inhibit_tx": "Both",
                   "battery_save": "1:4", "super_save": "5s"},
      "vox": {"vox_function": false, "gain_level": "5", "delay_time": "3.0", "inhibit_on_receive": "Yes"},
      "scan": {"scan_speed": "100", "dropout_delay_time": "15"},
      "keys": {"key1_short": "Monmome", "key1_long": "Scan", "key2_short": "Power H/L", "key2_long": "Warm"},
      "dtmf": {"begin_of_tx": "", "end_of_tx": "", "id_code": "000", "stun_code": "",
               "dtmf_speed": "6", "first_digit_time": "0", "first_digit_delay": "100",
               "star_and_hash_tone": "0", "code_space_time": "2000", "side_tone": true,
               "tx_decode": "On", "decode_tone": true, "stun_type": "Tx Inhibit", "group_code": "Off",
               "auto_reset_time": "10", "reset_tone": true, "decode_time_out": "500"}})"));

    // In the file, image byte X sits at file offset X (a 16-byte header
    // stands in for block 0).
    std::string file = ReadAll(path);
    file.replace(9, 4, "0592");
    file[0x120] = '\x22'; // voice off (language bit kept), tone off, FM interdict
    file[0x121] = '\x25'; // squelch 5, battery save off with ratio 2 kept
    file[0x122] = '\x63'; // time-out 99: out of range, back to 180
    file[0x123] = '\x02'; // VOX on, gain 3, delay 0.5, inhibit No
    file[0x125] = '\x09'; // scan speed one past the list
    file[0x127] = '\x20'; // key 1: short Off, long Transient Monmome
    file[0x128] = '\x02'; // key 2: short code 2, shown as Monmome
    file[0x142] = '\x00'; // "* and #" 100, no side tone, Tx/Rx inhibit
    file[0x14D] = '\x04';
    file.replace(0x160, 2, "\x12\x3A");
    file.replace(0x148, 3, "\x70\x0F\xFF");
    dir.write("s.dat", file);

    CliRun dump = Cli(dir, "dump " + Quote(path));
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    auto doc = nlohmann::json::parse(dump.out);
    EXPECT_EQ(doc["area"], "Fujian - XIA MEN");
    const auto& s = doc["settings"];
    EXPECT_EQ(s["optional"]["voice"], "Off");
    EXPECT_EQ(s["optional"]["tone"], "Off");
    EXPECT_EQ(s["optional"]["fm_function"], "Interdict");
    EXPECT_EQ(s["optional"]["vol_inhibit_tx"], "Off");
    EXPECT_EQ(s["optional"]["battery_save"], "OFF");
    EXPECT_EQ(s["optional"]["tx_time_out"], "180");
    EXPECT_EQ(s["vox"],
              nlohmann::json::parse(
                  R"({"vox_function": true, "gain_level": "3", "delay_time": "0.5", "inhibit_on_receive": "No"})"));
    EXPECT_EQ(s["scan"]["scan_speed"], "550");
    EXPECT_EQ(s["keys"]["key1_short"], "Off");
    EXPECT_EQ(s["keys"]["key1_long"], "Transient Monmome");
    EXPECT_EQ(s["keys"]["key2_short"], "Monmome");
    EXPECT_EQ(s["dtmf"]["star_and_hash_tone"], "100");
    EXPECT_EQ(s["dtmf"]["side_tone"], false);
    EXPECT_EQ(s["dtmf"]["stun_type"], "Tx/Rx Inhibit");
    EXPECT_EQ(s["dtmf"]["begin_of_tx"], "123A");
    EXPECT_EQ(s["dtmf"]["id_code"], "700");
}

TEST(Cli, HelpListsTheCommandsAndEachCommandsOptions)
{
    TempDir dir;
    CliRun all = Cli(dir, "--help");
    EXPECT_EQ(all.exitCode, 0);
    for (const char* command : {"new", "dump", "read", "write", "ports", "diff", "verify", "backups", "restore"})
        EXPECT_NE(all.out.find(std::string("\n  ") + command + " "), std::string::npos) << command;
    CliRun write = Cli(dir, "write --help");
    EXPECT_EQ(write.exitCode, 0);
    EXPECT_NE(write.out.find("--count N"), std::string::npos) << write.out;
    EXPECT_EQ(write.out.find("--band"), std::string::npos);
    // A wrong option shows the help of its command on stderr.
    CliRun wrong = Cli(dir, "new a.dat --count 2");
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_NE(wrong.err.find("--force"), std::string::npos) << wrong.err;
    CliRun version = Cli(dir, "--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("qv300-cli ") + QV300_VERSION + "\n");
}

TEST(Cli, ReadersTakeNoMoreThanTheirFormatHoldsAndPassOverWhatIsNoFile)
{
    TempDir dir;
    const std::string backup = dir.file("SN-20250101-120000.dat");
    ASSERT_EQ(Cli(dir, "new " + Quote(backup)).exitCode, 0);
    const std::string folder = dir.file("SN-20250102-120000.dat");
    std::filesystem::create_directory(folder);
    ASSERT_EQ(mkfifo(dir.file("SN-20250103-120000.dat").c_str(), 0600), 0);
    CliRun list = Cli(dir, "backups --backup-dir " + Quote(dir.path().string()));
    EXPECT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(Occurrences(list.out, "\n"), 1u) << list.out;

    for (const std::string& other : {folder, std::string("/dev/zero")})
        EXPECT_EQ(Cli(dir, "diff " + Quote(backup) + " " + Quote(other)).exitCode, 2) << other;
    for (const std::string& command :
         {std::string("import /dev/zero"), std::string("load /dev/urandom"), "import " + Quote(folder)}) {
        CliRun run = Cli(dir, command + " " + Quote(dir.file("out.dat")));
        EXPECT_EQ(run.exitCode, 2) << command;
        EXPECT_NE(run.err.find(command.starts_with("import '") ? "Is a directory" : "File too large"),
                  std::string::npos)
            << command << ": " << run.err;
    }
}
