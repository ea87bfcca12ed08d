// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "TestSupport.h"
#include "core/Catalogue.h"
#include "core/State.h"
#include "image/ChannelCodec.h"
#include "image/formats/ChirpColumns.h"
#include "image/formats/ChirpCsv.h"
#include "tools/radio-sim/SimMemory.h"

namespace {
class ChirpCsv : public ::testing::Test {
protected:
    void SetUp() override { Restart(); }
    void Restart()
    {
        StartFresh(dir.path().string());
        StartFirstDocument();
    }
    TempDir dir;
    MessageRecorder messages;

    // The simulator's sample radio as the document, with its own band.
    void UseSampleMemory()
    {
        ALL.Image = BuildSampleMemory();
        SelectModel(ALL.ModelCode, ALL.Image[kBandCodeOffset], true);
    }
    // One channel per tone combination the radio can hold.
    void UseEveryToneCombination()
    {
        const char* tones[] = {"", "88.5", "100.0", "D023N", "D023I", "D754N"};
        int n = 1;
        for (const char* tx : tones)
            for (const char* rx : {"", "88.5", "D023N", "D754I"})
                if (n <= kMaxChannels) {
                    InitChannel(n, "446.00625");
                    EncodeChannelField(n, 5, tx);
                    EncodeChannelField(n++, 4, rx);
                }
    }
    std::string Run(const std::string& command) const
    {
        std::string out;
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[4096];
            while (size_t got = fread(buffer, 1, sizeof buffer, pipe))
                out.append(buffer, got);
            pclose(pipe);
        }
        return out;
    }
    // What Python's csv module and, when installed, CHIRP's parser read.
    std::string ReadBack(const std::string& csv) const
    {
        return Run("/usr/bin/python3 " + Quote(std::string(QV300_TEST_DIR) + "/chirp_read.py") + " " +
                   Quote(dir.write("out.csv", csv)) + " 2>&1");
    }
};

// The channels of the document as both readers should print them.
std::string Expected(const std::string& reader)
{
    std::ostringstream out;
    TChannel c;
    for (int n = 1; n <= kMaxChannels; ++n) {
        if (!DecodeChannel(n, c))
            continue;
        const ChirpTones t = TonesToChirp(c.TxTone, c.RxTone);
        out << reader << ' ' << n << ' ' << std::llround(c.RxFreq * 1e6) << ' ' << (t.tone.empty() ? "-" : t.tone)
            << ' ' << t.rToneFreq << ' ' << t.cToneFreq << ' ' << std::stoi(t.dtcsCode) << ' ' << t.dtcsPolarity << ' '
            << (c.Bandwidth ? "FM" : "NFM") << ' ' << (c.ScanAdd ? "S" : "-") << '\n';
    }
    return out.str();
}
} // namespace

TEST(ChirpColumns, ToneModesAndDuplexMapBothWays)
{
    struct Case {
        const char* tx;
        const char* rx;
        const char* mode;
        const char* cross;
        const char* polarity;
    };
    const Case cases[] = {
        {"", "", "", "Tone->Tone", "NN"},
        {"88.5", "", "Tone", "Tone->Tone", "NN"},
        {"88.5", "88.5", "TSQL", "Tone->Tone", "NN"},
        {"D023N", "D023N", "DTCS", "Tone->Tone", "NN"},
        {"D023I", "D023N", "DTCS", "Tone->Tone", "RN"},
        {"88.5", "100.0", "Cross", "Tone->Tone", "NN"},
        {"", "88.5", "Cross", "->Tone", "NN"},
        {"", "D023I", "Cross", "->DTCS", "NR"},
        {"D754I", "", "Cross", "DTCS->", "RN"},
        {"88.5", "D023N", "Cross", "Tone->DTCS", "NN"},
        {"D023I", "67.0", "Cross", "DTCS->Tone", "RN"},
        {"D023N", "D754I", "Cross", "DTCS->DTCS", "NR"},
    };
    for (const Case& c : cases) {
        const ChirpTones t = TonesToChirp(c.tx, c.rx);
        EXPECT_EQ(t.tone, c.mode) << c.tx << " / " << c.rx;
        EXPECT_EQ(t.crossMode, c.cross) << c.tx << " / " << c.rx;
        EXPECT_EQ(t.dtcsPolarity, c.polarity) << c.tx << " / " << c.rx;
        const ChirpTonesBack back = TonesFromChirp(t);
        EXPECT_EQ(back.txTone, c.tx);
        EXPECT_EQ(back.rxTone, c.rx);
    }
    EXPECT_FALSE(TonesFromChirp({"Tone", "300.0"}).refusal.empty()) << "beyond the radio's tones";
    EXPECT_FALSE(TonesFromChirp({"DTCS", "88.5", "88.5", "089"}).refusal.empty()) << "not an octal code";
    EXPECT_FALSE(TonesFromChirp({"Cross", "88.5", "88.5", "023", "NN", "023", "Tone->Bad"}).refusal.empty());
    for (const char* polarity : {"N", "NNN"})
        EXPECT_FALSE(TonesFromChirp({"DTCS", "88.5", "88.5", "023", polarity}).refusal.empty()) << polarity;

    struct Duplex {
        double rx, tx;
        bool inBand;
        const char* duplex;
        const char* offset;
    };
    for (const Duplex& d :
         {Duplex{446.0, 446.0, true, "", "0.000000"}, Duplex{446.0, 451.0, true, "+", "5.000000"},
          Duplex{446.1, 446.0, true, "-", "0.100000"}, Duplex{446.0, 146.52, false, "split", "146.520000"},
          Duplex{446.0, -1, true, "off", "0.000000"}, Duplex{146.52, 146.52, false, "", "0.000000"}}) {
        const ChirpDuplex out = DuplexToChirp(d.rx, d.tx, d.inBand);
        EXPECT_EQ(out.duplex, d.duplex);
        EXPECT_EQ(out.offset, d.offset);
        std::string refusal;
        EXPECT_NEAR(DuplexFromChirp(d.rx, out, refusal).value_or(-99), d.tx, 1e-9) << d.duplex;
    }
    for (const ChirpDuplex& bad : {ChirpDuplex{"+", "abc"}, ChirpDuplex{"-", "447"}, ChirpDuplex{"split", "-1"}}) {
        std::string refusal;
        EXPECT_FALSE(DuplexFromChirp(446.0, bad, refusal)) << bad.duplex << " " << bad.offset;
        EXPECT_FALSE(refusal.empty());
    }
}

TEST_F(ChirpCsv, SampleMemoryAndEveryToneCombinationLoadInBothReaders)
{
    UseSampleMemory();
    std::string read = ReadBack(DocumentToChirpCsv());
    EXPECT_EQ(read.find("chirp-errors"), std::string::npos) << read;
    EXPECT_NE(read.find(Expected("csv")), std::string::npos) << read;
    const bool chirp = read.find("\nchirp ") != std::string::npos;
    if (chirp) {
        EXPECT_NE(read.find(Expected("chirp")), std::string::npos) << read;
    }

    Restart();
    UseEveryToneCombination();
    read = ReadBack(DocumentToChirpCsv());
    EXPECT_NE(read.find(Expected("csv")), std::string::npos) << read;
    if (chirp) {
        EXPECT_NE(read.find(Expected("chirp")), std::string::npos) << read;
    }
    if (!chirp)
        GTEST_SKIP() << "CHIRP is not installed: checked with Python's csv module only";
}

TEST_F(ChirpCsv, ImportOfAnExportGivesTheSameFile)
{
    UseSampleMemory();
    const std::string exported = DocumentToChirpCsv();
    const TALL before = ALL;
    Restart();
    UseSampleMemory();
    for (int n = 1; n <= kMaxChannels; ++n)
        ClearChannel(n);
    ALL.Modified = false;
    const ChirpCsvReport report = ChirpCsvToDocument(exported, {.keepLocations = true});
    EXPECT_TRUE(report.Ok());
    EXPECT_TRUE(report.refused.empty());
    EXPECT_TRUE(ALL.Modified);
    EXPECT_EQ(DocumentToChirpCsv(), exported);
    EXPECT_EQ(ALL.Image, before.Image);
}

TEST_F(ChirpCsv, ReadsOtherWritersFilesAndReportsEveryRowItLeaves)
{
    // Byte-order mark, CR LF, the older 18-column header reordered with an
    // extra column, quoted fields, Locations from 0 with a gap.
    const std::string text =
        "\xEF\xBB\xBFName,Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,"
        "TStep,Skip,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE,Extra\r\n"
        "\"A, b\",0,446.00700,,0,TSQL,88.5,88.5,023,NN,NFM,5,S,,,,,,x\r\n"
        "B,5,\"430.5\",+,5,DTCS,88.5,88.5,754,RN,FM,5,,,,,,,x\r\n"
        "C,6,146.52,,0,,88.5,88.5,023,NN,FM,5,,,,,,,x\r\n"     // line 4: outside the band
        "D,7,446.1,,0,,88.5,88.5,023,NN,AM,5,,,,,,,x\r\n"      // line 5: mode
        "E,8,446.2,,0,Tone,300.0,88.5,023,NN,FM,5,,,,,,,x\r\n" // line 6: tone
        "F,9,44x.2,,0,,88.5,88.5,023,NN,FM,5,,,,,,,x\r\n"      // line 7: number
        "G,10,446.3\r\n"                                       // line 8: short row
        "H,5,446.4,,0,,88.5,88.5,023,NN,FM,5,,,,,,,x\r\n";     // line 9: channel 6 again
    const ChirpCsvReport report = ChirpCsvToDocument(text, {.keepLocations = true, .replaceChannels = true});
    ASSERT_TRUE(report.Ok()) << report.failure;
    EXPECT_EQ(report.taken, 2);
    ASSERT_EQ(report.refused.size(), 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(report.refused[static_cast<size_t>(i)].line, i + 4);
    EXPECT_EQ(report.notes.size(), 1u) << "names are noted once";
    TChannel c;
    ASSERT_TRUE(DecodeChannel(1, c));
    EXPECT_EQ(FormatFrequency(c.RxFreq), "446.00625") << "rounded onto the raster as typed";
    EXPECT_EQ(c.TxTone, "88.5");
    EXPECT_EQ(c.RxTone, "88.5");
    EXPECT_EQ(c.Bandwidth, 0);
    EXPECT_EQ(c.ScanAdd, 1);
    ASSERT_TRUE(DecodeChannel(6, c));
    EXPECT_DOUBLE_EQ(c.TxFreq, 435.5);
    EXPECT_EQ(c.TxTone, "D754I");
    EXPECT_EQ(c.RxTone, "D754N");
    EXPECT_FALSE(DecodeChannel(2, c));

    // In file order, from the slot asked for, and never past channel 16.
    std::string many = "Location,Frequency\n";
    for (int i = 0; i < 20; ++i)
        many += std::to_string(i + 1) + ",446.0\n";
    const ChirpCsvReport order = ChirpCsvToDocument(many, {.firstChannel = 10});
    EXPECT_EQ(order.taken, 6);
    EXPECT_EQ(order.refused.size(), 14u);
    EXPECT_EQ(order.refused.front().line, 8);
}

TEST_F(ChirpCsv, ExportNamesTheRowsCHIRPWouldLeaveOut)
{
    int n = 1;
    for (const char* tone : {"290.0", "D779N", "67.0", "D023N"}) {
        InitChannel(n, "446.00625");
        EncodeChannelField(n++, 5, tone);
    }
    std::vector<std::string> notes;
    const std::string read = ReadBack(DocumentToChirpCsv(&notes));
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_NE(notes[0].find("1: CHIRP knows no tone 290.0"), std::string::npos) << notes[0];
    EXPECT_NE(notes[1].find("2: CHIRP knows no tone D779N"), std::string::npos) << notes[1];
    if (read.find("\nchirp ") == std::string::npos)
        GTEST_SKIP() << "CHIRP is not installed";
    EXPECT_EQ(read.find("\nchirp 1 "), std::string::npos) << read;
    EXPECT_EQ(read.find("\nchirp 2 "), std::string::npos) << read;
    EXPECT_NE(read.find("\nchirp 4 "), std::string::npos) << read;
}

TEST_F(ChirpCsv, EveryValueChangedIsSaidAndATakingOfNothingChangesNothing)
{
    // CHIRP's own 18 columns: no CrossMode, which CHIRP reads as Tone->Tone.
    const std::string text =
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
        "Mode,TStep,Skip,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n"
        "2,,446.00777,+,5.0,Cross,88.54,100.0,023,NN,FM,5.00,,,,,,\n";
    InitChannel(1, "446.5");
    const ChirpCsvReport report = ChirpCsvToDocument(text, {.keepLocations = true, .replaceChannels = true});
    ASSERT_EQ(report.taken, 1);
    TChannel c;
    ASSERT_TRUE(DecodeChannel(2, c));
    EXPECT_EQ(c.TxTone, "88.5");
    EXPECT_EQ(c.RxTone, "100.0");
    EXPECT_TRUE(DecodeChannel(1, c)) << "a channel the file does not name stays";
    EXPECT_EQ(ChangeLines(report), (std::vector<std::string>{"Line 2: RX 446.00777 was taken as 446.00625.",
                                                             "Line 2: TX 451.007770 was taken as 451.00625.",
                                                             "Line 2: rToneFreq 88.54 was taken as 88.5."}));

    UseSampleMemory();
    ALL.Modified = false;
    const auto image = ALL.Image;
    for (const char* nothing : {"Location,Frequency\n", "Location,Frequency\n1,1.0\n"})
        for (bool keep : {false, true})
            EXPECT_EQ(ChirpCsvToDocument(nothing, {.keepLocations = keep, .replaceChannels = true}).taken, 0);
    EXPECT_EQ(ALL.Image, image);
    EXPECT_FALSE(ALL.Modified);
}

TEST_F(ChirpCsv, AFileThatDoesNotParseChangesNothing)
{
    UseSampleMemory();
    ALL.Modified = false;
    const auto image = ALL.Image;
    for (const char* text : {"Location,Frequency\n1,\"446.0\n", "Name,Freq\n1,446.0\n", "", "\xEF\xBB\xBF\r\n"}) {
        const ChirpCsvReport report = ChirpCsvToDocument(text, {.replaceChannels = true});
        EXPECT_FALSE(report.Ok()) << text;
        EXPECT_FALSE(report.failure.empty());
    }
    EXPECT_EQ(ALL.Image, image);
    EXPECT_FALSE(ALL.Modified);
}

TEST_F(ChirpCsv, StockListsImportWithAReportForTheRest)
{
    const std::filesystem::path stock = "/usr/share/chirp/stock_configs";
    if (!std::filesystem::exists(stock / "US FRS and GMRS Channels.csv"))
        GTEST_SKIP() << "CHIRP's stock lists are not installed";
    struct Expect {
        const char* file;
        const char* first;
        int bandwidth;
        int refused;
    };
    for (const Expect& e : {Expect{"EU LPD and PMR Channels.csv", "433.07500", 1, 85 - 16},
                            Expect{"US FRS and GMRS Channels.csv", "462.56250", 0, 52 - 16}}) {
        Restart();
        const ChirpCsvReport report = ChirpCsvToDocument(ReadAll((stock / e.file).string()), {.replaceChannels = true});
        ASSERT_TRUE(report.Ok()) << e.file;
        EXPECT_EQ(report.taken, 16) << e.file;
        EXPECT_EQ(static_cast<int>(report.refused.size()), e.refused) << e.file;
        TChannel c;
        ASSERT_TRUE(DecodeChannel(1, c));
        EXPECT_EQ(FormatFrequency(c.RxFreq), e.first);
        EXPECT_EQ(c.Bandwidth, e.bandwidth);
    }
}
