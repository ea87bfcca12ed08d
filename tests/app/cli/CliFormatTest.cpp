// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "TestSupport.h"
#include "core/State.h"
#include "image/formats/InterchangeTexts.h"
#include "image/formats/PrintContent.h"

namespace {
// A data file with channels made through the CSV import itself.
std::string ChannelFile(const TempDir& dir)
{
    const std::string csv = dir.write("in.csv",
                                      "Location,Frequency,Duplex,Offset,Tone,rToneFreq,Mode\n"
                                      "1,446.00625,,0,Tone,88.5,NFM\n2,430.125,+,5,,88.5,FM\n3,450.5,off,0,,88.5,FM\n");
    CliRun run = Cli(dir, "import " + Quote(csv) + " " + Quote(dir.file("c.dat")));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return dir.file("c.dat");
}
} // namespace

TEST(CliFormats, JsonLoadRebuildsTheFileByteForByteAndRefusesFaultsByPath)
{
    TempDir dir;
    const std::string file = ChannelFile(dir);
    const std::string json = dir.write("c.json", Cli(dir, "dump " + Quote(file)).out);
    for (const std::string& base : {std::string(), " --base " + Quote(file)}) {
        CliRun load = Cli(dir, "load " + Quote(json) + " " + Quote(dir.file("o.dat")) + " --force" + base);
        ASSERT_EQ(load.exitCode, 0) << load.err;
        EXPECT_EQ(ReadAll(dir.file("o.dat")), ReadAll(file)) << base;
    }
    // A text that names nothing keeps every byte of its base, header included.
    std::string odd = ReadAll(file);
    odd.replace(5, 4, "\x20\xA0\x20\x20");
    const std::string base = " --base " + Quote(dir.write("odd.dat", odd));
    ASSERT_EQ(Cli(dir, "load " + Quote(dir.write("e.json", "{}")) + " " + Quote(dir.file("e.dat")) + base).exitCode, 0);
    EXPECT_EQ(ReadAll(dir.file("e.dat")), odd);
    std::string text = ReadAll(json);
    struct Fault {
        std::string from, to, path;
    };
    for (const Fault& f : {Fault{"\"power\": \"High\"", "\"power\": \"Medium\"", "channels[0].power"},
                           Fault{"\"number\": 1", "\"number\": 1, \"colour\": 2", "channels[0].colour"},
                           Fault{"\"rx\": \"446.00625\"", "\"rx\": 446", "channels[0].rx"}}) {
        std::string bad = text;
        ASSERT_NE(bad.find(f.from), std::string::npos) << f.from;
        bad.replace(bad.find(f.from), f.from.size(), f.to);
        CliRun load = Cli(dir, "load " + Quote(dir.write("bad.json", bad)) + " " + Quote(dir.file("bad.dat")));
        EXPECT_EQ(load.exitCode, 2);
        EXPECT_NE(load.err.find(f.path), std::string::npos) << load.err;
        EXPECT_FALSE(std::filesystem::exists(dir.file("bad.dat")));
    }
}

TEST(CliFormats, ImportFailsOnARefusedRowUnlessPartialAndExportRoundTrips)
{
    TempDir dir;
    const std::string csv = dir.write("in.csv", "Location,Frequency,Mode\n1,446.0,FM\n2,146.52,FM\n3,446.1,AM\n");
    CliRun strict = Cli(dir, "import " + Quote(csv) + " " + Quote(dir.file("a.dat")));
    EXPECT_EQ(strict.exitCode, 2);
    EXPECT_NE(strict.err.find("Line 3:"), std::string::npos) << strict.err;
    EXPECT_NE(strict.err.find("Line 4:"), std::string::npos) << strict.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.dat")));
    EXPECT_EQ(Cli(dir, "import --partial " + Quote(csv) + " " + Quote(dir.file("a.dat"))).exitCode, 0);
    // A list that gives no channel fails and writes nothing, --partial or not.
    CliRun none = Cli(dir, "import --partial --base " + Quote(dir.file("a.dat")) + " " +
                               Quote(dir.write("n.csv", "Location,Frequency\n")) + " " + Quote(dir.file("n.dat")));
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_NE(none.err.find("No row of the file was taken"), std::string::npos) << none.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("n.dat")));

    const std::string exported = Cli(dir, "export " + Quote(ChannelFile(dir))).out;
    CliRun again = Cli(dir, "import " + Quote(dir.write("e.csv", exported)) + " " + Quote(dir.file("e.dat")));
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(Cli(dir, "export " + Quote(dir.file("e.dat"))).out, exported);
}

TEST(CliFormats, MessagesSayWhatIsWrongWithTheFileAndShowNoRawBytes)
{
    using namespace std::string_literals;
    TempDir dir;
    const std::string utf16 = "\xFF\xFEL\0o\0c\0"s;
    CliRun wide = Cli(dir, "import " + Quote(dir.write("w.csv", utf16)) + " " + Quote(dir.file("w.dat")));
    EXPECT_EQ(wide.exitCode, 2);
    EXPECT_NE(wide.err.find("UTF-16"), std::string::npos) << wide.err;

    const std::string nul = "Location,Frequency,Mode\n1,446.0,F\0M\x1B[2J\n"s;
    CliRun raw = Cli(dir, "import " + Quote(dir.write("z.csv", nul)) + " " + Quote(dir.file("z.dat")));
    EXPECT_EQ(raw.exitCode, 2);
    EXPECT_NE(raw.err.find("F\\x00M\\x1B[2J"), std::string::npos) << raw.err;
    EXPECT_EQ(raw.err.find_first_of("\0\x1B"s), std::string::npos);

    // Made in memory, the PDF has no use for a runtime folder, and says nothing.
    const std::string file = ChannelFile(dir);
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string kept = runtime ? runtime : "";
    unsetenv("XDG_RUNTIME_DIR");
    CliRun pdf = Cli(dir, "export " + Quote(file) + " --format pdf " + Quote(dir.file("c.pdf")));
    if (runtime)
        setenv("XDG_RUNTIME_DIR", kept.c_str(), 1);
    EXPECT_EQ(pdf.exitCode, 0);
    EXPECT_EQ(pdf.err, "");
}

TEST(CliFormats, PdfHoldsEveryChannelFrequency)
{
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    TempDir dir;
    const std::string file = ChannelFile(dir);
    CliRun run = Cli(dir, "export " + Quote(file) + " --format pdf " + Quote(dir.file("c.pdf")));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(std::system(("pdftotext " + Quote(dir.file("c.pdf")) + " " + Quote(dir.file("c.txt"))).c_str()), 0);
    const std::string text = ReadAll(dir.file("c.txt"));
    for (const char* f : {"446.00625", "430.12500", "435.12500", "450.50000", "None"})
        EXPECT_NE(text.find(f), std::string::npos) << f;
    const size_t window = text.find("Scan Information");
    EXPECT_LT(window, text.find("Scan Speed")) << "a setting comes under its window's title";
    // Every word keeps about 15 mm (42.5 points) from the page's left edge.
    ASSERT_EQ(std::system(("pdftotext -bbox " + Quote(dir.file("c.pdf")) + " " + Quote(dir.file("b.html"))).c_str()),
              0);
    const std::string boxes = ReadAll(dir.file("b.html"));
    double left = 1e9;
    for (size_t at = boxes.find("xMin=\""); at != std::string::npos; at = boxes.find("xMin=\"", at + 1))
        left = std::min(left, std::stod(boxes.substr(at + 6)));
    EXPECT_GT(left, 40.0);
    EXPECT_EQ(Cli(dir, "export " + Quote(file) + " --format pdf").exitCode, 1) << "a PDF needs a file";
}

TEST(CliFormats, AnOutIsReplacedOnlyWhenAskedAndNeverCutShort)
{
    TempDir dir;
    const std::string file = ChannelFile(dir), bytes = ReadAll(file);
    const std::string csv = Cli(dir, "export " + Quote(file)).out;
    const std::string old = dir.write("old.pdf", "old");
    for (const std::string& force : {std::string(), std::string(" --force")}) {
        EXPECT_EQ(Cli(dir, "export " + Quote(file) + " " + Quote(file) + force).exitCode, 2) << force;
        EXPECT_EQ(Cli(dir, "import " + Quote(dir.file("in.csv")) + " " + Quote(file) + " --base " + Quote(file) + force)
                      .exitCode,
                  2)
            << force;
    }
    EXPECT_EQ(Cli(dir, "export " + Quote(file) + " --format pdf " + Quote(old)).exitCode, 2);
    EXPECT_EQ(ReadAll(file), bytes);
    EXPECT_EQ(Cli(dir, "export " + Quote(file) + " -").out, csv);

    {
        DiskFullAfter full(4096);
        CliRun cut = Cli(dir, "export " + Quote(file) + " --format pdf --force " + Quote(old));
        EXPECT_EQ(cut.exitCode, 2);
        EXPECT_NE(cut.err.find("File too large"), std::string::npos) << cut.err;
    }
    EXPECT_EQ(ReadAll(old), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 4) << "no file left behind";

    // A device is written as a stream and stays in its place; a failed write
    // to standard output is a failure too, with its reason.
    for (const std::string& args : {"export " + Quote(file) + " /dev/full", "dump " + Quote(file) + " >/dev/full",
                                    "export " + Quote(file) + " >/dev/full", std::string("--help >/dev/full")}) {
        CliRun run = Cli(dir, args);
        EXPECT_EQ(run.exitCode, 2) << args;
        EXPECT_NE(run.err.find("No space left on device"), std::string::npos) << args << ": " << run.err;
    }
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}

TEST(CliFormats, EveryInterchangeTextIsInChinese)
{
    TempDir dir;
    std::filesystem::copy_file(std::string(QV300_DATA_DIR) + "/Chinese.Ini", dir.file("Chinese.Ini"));
    StartFresh(dir.path().string());
    ALL.LanguageName = "Chinese";
    ReloadTexts();
    for (const TextKey& t : kInterchangeTexts.keys) {
        const std::string text = InterchangeText(t.key);
        EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xE3; }))
            << t.key;
    }
    // A short press stored as code 2 has no entry of its own and shows the
    // monitor's, in the language of the rest of the printout.
    ALL.Image[0x127] = static_cast<uint8_t>((ALL.Image[0x127] & 0xF0) | 2);
    std::map<std::string, std::string> printed;
    for (const PrintSettingGroup& group : ComposePrint("").settingGroups)
        printed.insert(group.settings.begin(), group.settings.end());
    EXPECT_EQ(printed["按键 1: 短按"], "监听");
}
