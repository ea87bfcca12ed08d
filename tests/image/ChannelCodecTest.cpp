// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstdio>
#include <locale>
#include <vector>

#include "TestSupport.h"
#include "base/NumberText.h"
#include "core/State.h"
#include "image/ChannelCodec.h"
#include "image/ChannelFields.h"
#include "settings/Language.h"

using Bytes = std::vector<uint8_t>;
using Code = std::array<uint8_t, 2>;

// A new document with the band 400 - 520MHz of the 134-650 MHz model.
class ChannelCodec : public ::testing::Test {
protected:
    TempDir dir;
    MessageRecorder messages;
    void SetUp() override
    {
        StartFresh(dir.path().string());
        StartFirstDocument(0xF3);
        ASSERT_EQ(ALL.BandLow, 400);
        ASSERT_EQ(ALL.BandHigh, 520);
    }
    static Bytes Record(int n, size_t from = 0, size_t count = 16)
    {
        auto first = ALL.Image.begin() + static_cast<long>(ChannelOffset(n) + from);
        return Bytes(first, first + static_cast<long>(count));
    }
};

TEST_F(ChannelCodec, FrequencyBcdAndRaster)
{
    auto decode = [](Bytes b) { return BcdToFreq(b.data()); };
    EXPECT_DOUBLE_EQ(decode({0x00, 0x25, 0x65, 0x14}).value(), 146.525);
    EXPECT_DOUBLE_EQ(decode({0x00, 0x00, 0x00, 0x00}).value(), 0.0);
    EXPECT_DOUBLE_EQ(decode({0x99, 0x99, 0x99, 0x99}).value(), 999.99999);
    EXPECT_FALSE(decode({0xFF, 0x25, 0x65, 0x14}));
    EXPECT_FALSE(decode({0x00, 0x25, 0x6A, 0x14}));
    EXPECT_EQ(FreqToBcd("446.00625MHz and more"), (Bcd4{0x25, 0x06, 0x60, 0x44}));
    EXPECT_EQ(FreqToBcd("0.000054"), (Bcd4{0x05, 0x00, 0x00, 0x00})); // rounds to 10 Hz
    EXPECT_EQ(FreqToBcd("-5"), (Bcd4{0x00, 0x00, 0x00, 0x00}));
    for (const char* none : {"", "   ", "MHz", "abc", "4.5.6", "446,00625"})
        EXPECT_EQ(FreqToBcd(none), (Bcd4{0xFF, 0xFF, 0xFF, 0xFF})) << none;
    for (const char* big : {"1000", "999.999996", "1e300", "123456789012345678901234567890"})
        EXPECT_EQ(FreqToBcd(big), (Bcd4{0x99, 0x99, 0x99, 0x99})) << big;

    const std::pair<double, double> snaps[] = {
        {146.523, 146.52},      {146.5187, 146.515},  {146.519, 146.51875}, {146.52, 146.52},
        {146.50625, 146.50625}, {446.007, 446.00625}, {146.500004, 146.5}, // on the raster once rounded to 10 Hz, and
                                                                           // stored so
    };
    for (auto [typed, snapped] : snaps)
        EXPECT_DOUBLE_EQ(SnapFrequency(typed), snapped) << typed;
    EXPECT_EQ(FormatFrequency(146.525), "146.52500");
}

TEST_F(ChannelCodec, ToneTextsAndCodes)
{
    EXPECT_EQ(CodeToTone(0x00, 0x29), "290.0");
    EXPECT_EQ(CodeToTone(0x99, 0x89), "D999N");
    EXPECT_EQ(CodeToTone(0xFF, 0xFF), "");
    EXPECT_EQ(CodeToTone(0x12, 0xFF), "");
    EXPECT_EQ(ToneToCode("88.5 Hz"), (Code{0x85, 0x08}));
    EXPECT_EQ(ToneToCode("D754i"), (Code{0x54, 0xC7}));
    EXPECT_EQ(ToneToCode("5000"), (Code{0x99, 0x99}));
    for (const char* none : {"", "Hz", "D8", "D023X", "DXYZN", "abc"})
        EXPECT_EQ(ToneToCode(none), (Code{0xFF, 0xFF})) << none;

    const std::pair<std::string, std::string> typed[] = {
        {"", ""},
        {"67", "67.0"},
        {"300", "290.0"},
        {"0.5", "30.0"},
        {"6.7.1", "290.0"},
        {"254.14", "254.1"},
        {"D023n", "D023N"},
        {"D023X", "D777N"},
        {"D083N", "D777N"},
        {"d023N", "D777N"},
        {"D23N", "D777N"},
        {"D0230N", "D777N"},
        {std::string(500, '9'), "290.0"},
    };
    for (const auto& [text, want] : typed)
        EXPECT_EQ(CheckToneText(text), want) << text;

    // The combo's list in order, and every entry survives the trip through
    // the record (67.0 = 70 06, D023N = 23 80, D754I = 54 C7 among them).
    const auto& list = ToneList();
    ASSERT_EQ(list.size(), 260u);
    EXPECT_EQ((std::vector<std::string>{list[0], list[49], list[50], list[154], list[155], list[259]}),
              (std::vector<std::string>{"67.0", "254.1", "D023N", "D754N", "D023I", "D754I"}));
    EXPECT_EQ(ToneToCode(list[0]), (Code{0x70, 0x06}));
    for (const std::string& tone : list) {
        Code code = ToneToCode(tone);
        EXPECT_EQ(CodeToTone(code[0], code[1]), tone);
        EXPECT_EQ(CheckToneText(tone), tone);
    }
}

TEST_F(ChannelCodec, TypedFrequenciesAreCheckedAgainstModelAndBand)
{
    const std::tuple<const char*, const char*, const std::string*> cases[] = {
        {"450", "450.00000", nullptr},
        {"446.0070", "446.00625", nullptr},
        {"600", "600.00000", &Language.OutRange},
        {"700", "520.00000", &Language.ErrRange},
        {"100", "400.00000", &Language.ErrRange},
        {"4.5.6", "520.00000", &Language.OutRange},
        {"1e400", "520.00000", &Language.OutRange},
    };
    for (const auto& [text, result, message] : cases) {
        messages.shown.clear();
        EXPECT_EQ(CheckFrequencyText(text), result) << text;
        ASSERT_EQ(messages.shown.size(), message ? 1u : 0u) << text;
        if (message) {
            EXPECT_EQ(messages.shown[0].text, *message) << text;
            EXPECT_EQ(messages.shown[0].caption, Language.Caution);
            EXPECT_EQ(messages.shown[0].kind, kMsgInformation);
        }
    }
    EXPECT_EQ(Language.OutRange, "Frequecy is Out of range.");
    EXPECT_EQ(Language.ErrRange, "The frequecy number come amiss!");
    Language.ErrRange = "Ausserhalb"; // as a language file would set it
    messages.shown.clear();
    CheckFrequencyText("700");
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Ausserhalb"});
}

TEST_F(ChannelCodec, NewChannelAndDecoding)
{
    std::fill_n(ALL.Image.begin() + 0x038, 4, 0x00); // old tones and flags go, 0x03D stays
    ALL.Image[0x03C] = 0x80;
    ALL.Image[0x03D] = 0x12;
    InitChannel(3, CheckFrequencyText("446.00625"));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Record(3), (Bytes{0x25, 0x06, 0x60, 0x44, 0x25, 0x06, 0x60, 0x44, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x12,
                                0xFF, 0xFF})); // bit 7 of byte 12 and bytes 13-15 kept
    ALL.Image[0x03C] = 0x00;
    InitChannel(3, "446.00625");
    EXPECT_EQ(ALL.Image[0x03C], 0x7F);

    TChannel c;
    ASSERT_TRUE(DecodeChannel(3, c));
    EXPECT_EQ(FormatFrequency(c.RxFreq) + " " + FormatFrequency(c.TxFreq), "446.00625 446.00625");
    EXPECT_EQ(c.RxTone + c.TxTone, "");
    std::vector<std::string> shown;
    for (const ChannelField& f : ChannelFields())
        if (f.member)
            shown.push_back(f.items.at(c.*(f.member)));
    EXPECT_EQ(shown, (std::vector<std::string>{"High", "Wide", "Del", "No", "On", "Off"}));

    // No TX, tones, flags 0x2A: bandwidth and epilogue set, PTT stored 1 (EOT).
    const Bytes rec = {0x00, 0x25, 0x65, 0x14, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x29, 0x54, 0xC7, 0x2A};
    std::copy(rec.begin(), rec.end(), ALL.Image.begin() + ChannelOffset(16));
    ASSERT_TRUE(DecodeChannel(16, c));
    EXPECT_DOUBLE_EQ(c.RxFreq, 146.525);
    EXPECT_EQ(c.TxFreq, -1);
    EXPECT_EQ(c.RxTone + " " + c.TxTone, "290.0 D754I");
    EXPECT_EQ(std::vector<int>({c.Power, c.Bandwidth, c.ScanAdd, c.BusyLock, c.Tail, c.PttId}),
              std::vector<int>({0, 1, 0, 0, 1, 2}));

    // An empty channel changes only RxFreq; blocks 0 and 17 are never channels.
    ALL.Image[ChannelOffset(16)] = 0xFF;
    EXPECT_FALSE(DecodeChannel(16, c));
    EXPECT_EQ(c.RxFreq, -1);
    EXPECT_EQ(c.TxTone, "D754I");
    std::fill_n(ALL.Image.begin(), 4, 0x00);
    std::fill_n(ALL.Image.begin() + ChannelOffset(17), 4, 0x00);
    for (int n : {0, 17, -1, INT_MAX})
        EXPECT_FALSE(DecodeChannel(n, c)) << n;
}

TEST_F(ChannelCodec, EncodesOneFieldAtATime)
{
    ALL.Image[0x01C] = 0x00; // bit 7 clear: the expected bytes show only the fields
    const std::tuple<int, const char*, uint8_t> flags[] = {
        {6, "0", 0x7E},  {7, "0", 0x77},  {8, "0", 0x6F}, {9, "0", 0x7B}, {10, "0", 0x7D},
        {13, "1", 0x5F}, {13, "3", 0x1F}, {6, "2", 0x7F}, {6, "x", 0x7F},
    };
    for (const auto& [field, index, want] : flags) {
        InitChannel(1, "146.52500");
        EncodeChannelField(1, field, index);
        EXPECT_EQ(ALL.Image[0x01C], want) << field << " " << index;
    }
    EncodeChannelField(1, 4, CheckToneText("88"));
    EncodeChannelField(1, 5, CheckToneText("D8"));
    EXPECT_EQ(Record(1, 8, 4), (Bytes{0x80, 0x08, 0x77, 0x87}));
    EncodeChannelField(1, 5, CheckToneText("D023n"));
    EXPECT_EQ(Record(1, 10, 2), (Bytes{0x23, 0x80}));

    // Numbers that name no field and channels that do not exist write nothing.
    auto before = ALL.Image;
    for (int field : {0, 1, 11, 12, 14, 20, -1})
        EncodeChannelField(1, field, "1");
    EXPECT_EQ(ALL.Image, before);
    for (int n : {0, 17, -5, INT_MAX, INT_MIN}) {
        InitChannel(n, "450");
        EXPECT_EQ(ALL.Image, before) << n;
        ClearChannel(n);
    }
    EXPECT_EQ(ALL.Image, before);

    // An empty TX removes only TX; an empty RX clears the whole record.
    Bytes expected = Record(1);
    std::fill_n(expected.begin() + 4, 4, 0xFF);
    EncodeChannelField(1, 3, "  ");
    EXPECT_EQ(Record(1), expected);
    InitChannel(2, "450");
    EncodeChannelField(2, 2, "");
    ClearChannel(1);
    EXPECT_EQ(Record(1), Bytes(16, 0xFF));
    EXPECT_EQ(Record(2), Bytes(16, 0xFF));
}

TEST_F(ChannelCodec, NumberTextsKeepThePointUnderADecimalCommaLocale)
{
    auto expectPoint = [this] {
        EXPECT_EQ(FormatFrequency(146.525), "146.52500");
        EXPECT_EQ(CheckFrequencyText("446.00625"), "446.00625");
        EXPECT_EQ(FreqToBcd("446.00625"), (Bcd4{0x25, 0x06, 0x60, 0x44}));
        EXPECT_EQ(CheckToneText("88.5") + CodeToTone(0x85, 0x08), "88.588.5");
        EXPECT_TRUE(messages.shown.empty());
    };
    struct CommaPunct : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    EXPECT_EQ(std::use_facet<std::numpunct<char>>(std::locale()).decimal_point(), ',');
    expectPoint();
    std::locale::global(previous);

    std::vector<std::string> names = {"de_DE.UTF-8"};
    if (FILE* p = popen("locale -a 2>/dev/null", "r")) {
        for (char line[256]; fgets(line, sizeof line, p);)
            names.push_back(TrimBlanks(line));
        pclose(p);
    }
    for (const std::string& name : names) {
        if (std::setlocale(LC_ALL, name.c_str()) && std::localeconv()->decimal_point == std::string(",")) {
            expectPoint();
            std::setlocale(LC_ALL, "C");
            return;
        }
    }
    std::setlocale(LC_ALL, "C");
    GTEST_SKIP() << "no C locale with a decimal comma is installed (the C++ locale part ran)";
}
