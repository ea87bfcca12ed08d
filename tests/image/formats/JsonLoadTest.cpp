// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "TestSupport.h"
#include "core/Catalogue.h"
#include "core/State.h"
#include "image/ChannelCodec.h"
#include "image/ChannelFields.h"
#include "image/SettingFields.h"
#include "image/formats/DataFile.h"
#include "image/formats/JsonDump.h"
#include "image/formats/JsonLoad.h"
#include "tools/radio-sim/SimMemory.h"

namespace {
class JsonLoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartFresh(dir.path().string());
        StartFirstDocument();
    }
    FileHeaderTexts Header() const { return {ALL.ModelCode, ALL.FamilyCode, ALL.AreaCode}; }
    TempDir dir;
    MessageRecorder messages;
};
} // namespace

TEST_F(JsonLoad, ADumpLoadedOntoItsOwnFileChangesNoByte)
{
    ASSERT_TRUE(DataFileToDocument(DocumentToDataFile()).Ok());
    ALL.Image = BuildSampleMemory();
    SelectModel(ALL.ModelCode, ALL.Image[kBandCodeOffset], true);
    const std::vector<uint8_t> file = DocumentToDataFile();
    ASSERT_TRUE(DataFileToDocument(file).Ok());
    const std::string json = DocumentToJson(Header());
    const JsonLoadReport report = JsonToDocument(json);
    ASSERT_TRUE(report.Ok()) << report.error;
    EXPECT_EQ(DocumentToDataFile(), file);
}

TEST_F(JsonLoad, TheDumpOfAnyBytesLoadsBackOntoThemUnchanged)
{
    std::mt19937 random(7);
    auto byte = [&random] { return static_cast<uint8_t>(random()); };
    auto digits = [&random] { return static_cast<uint8_t>(random() % 10 * 16 + random() % 10); };
    for (int round = 0; round < 200; ++round) {
        // Random bytes everywhere, RX on valid BCD so the channels exist.
        std::vector<uint8_t> file = DocumentToDataFile();
        const size_t band = kFileHeaderSize + kBandCodeOffset - kBlockSize;
        for (size_t i = 5; i < file.size(); ++i)
            file[i] = i == band ? file[i] : byte();
        for (int n = 1; n <= kMaxChannels; ++n)
            for (size_t i = 0; i < 4 && round % 4; ++i)
                file[kFileHeaderSize + ChannelOffset(n) - kBlockSize + i] = digits();
        StartFirstDocument();
        FileHeaderTexts header;
        ASSERT_TRUE(DataFileToDocument(file, &header).Ok());
        ALL.FamilyCode = header.FamilyCode;
        file = DocumentToDataFile(); // as the radio or a save leaves it
        const std::string json = DocumentToJson(header);
        StartFirstDocument();
        ASSERT_TRUE(DataFileToDocument(file).Ok());
        const JsonLoadReport report = JsonToDocument(json);
        ASSERT_TRUE(report.Ok()) << report.error << "\n" << json;
        ASSERT_EQ(DocumentToDataFile(), file) << json;
    }
}

TEST_F(JsonLoad, EveryValueANewDocumentCanTakeComesBack)
{
    std::mt19937 random(12);
    for (int round = 0; round < 20; ++round) {
        StartFirstDocument();
        for (const SettingField& f : SettingFields()) {
            const size_t count = IsCheckBox(f) ? 2 : ItemTexts(f).size();
            if (count > 0 && f.mapping != FieldMapping::KeyShort && f.mapping != FieldMapping::KeyLong)
                StoreFieldItem(f, static_cast<int>(random() % count));
        }
        for (int n = 1; n <= ALL.ChannelCount; ++n) {
            if (random() % 3 == 0)
                continue;
            InitChannel(n, "4" + std::to_string(10 + random() % 90) + ".0125"); // inside the band
            for (const ChannelField& f : ChannelFields())
                if (!f.items.empty())
                    EncodeChannelField(n, f.number, std::to_string(random() % f.items.size()));
            EncodeChannelField(n, 5, ToneList()[random() % ToneList().size()]);
            if (random() % 2)
                EncodeChannelField(n, 3, "");
        }
        const std::vector<uint8_t> file = DocumentToDataFile();
        const std::string json = DocumentToJson(Header());
        StartFirstDocument();
        const JsonLoadReport report = JsonToDocument(json);
        ASSERT_TRUE(report.Ok()) << report.error;
        ASSERT_EQ(DocumentToDataFile(), file) << json;
    }
}

TEST_F(JsonLoad, AFaultNamesItsPathAndChangesNothing)
{
    InitChannel(1, "446.0");
    const auto image = ALL.Image;
    struct Case {
        const char* json;
        const char* path;
    };
    for (const Case& c : {Case{R"({"settings": {"optional": {"nonsense": 1}}})", "settings.optional.nonsense"},
                          Case{R"({"channels": [{"number": 1, "power": true}]})", "channels[0].power"},
                          Case{R"({"channels": [{"number": 17, "rx": "446.0"}]})", "channels[0].number"},
                          Case{R"({"band": "1 - 2MHz"})", "band"},
                          Case{R"({"channels": [{"number": 2, "rx": "446.0"}, {"number": 1, "tx_tone": "D999N"}]})",
                               "channels[1].tx_tone"},
                          // Values typing refuses or would round.
                          Case{R"({"channels": [{"number": 1, "tx": "999.0"}]})", "channels[0].tx"},
                          Case{R"({"channels": [{"number": 1, "rx": "300.0"}]})", "channels[0].rx"},
                          Case{R"({"channels": [{"number": 2, "rx": "446.0070"}]})", "channels[0].rx"},
                          Case{R"({"channels": [{"number": 4294967304, "rx": "446.0"}]})", "channels[0].number"},
                          Case{R"({"write_time": "yesterday"})", "write_time"},
                          Case{R"({"factory_time": "2026-13-45 99:99:99"})", "factory_time"},
                          Case{R"({"serial_number": "ab c"})", "serial_number"}}) {
        const JsonLoadReport report = JsonToDocument(c.json);
        EXPECT_NE(report.error.find(c.path), std::string::npos) << c.json << ": " << report.error;
        EXPECT_EQ(ALL.Image, image) << c.json;
    }
    EXPECT_TRUE(JsonToDocument(R"({"write_time": "2028-02-29 23:59:59"})").Ok());
    EXPECT_FALSE(JsonToDocument(R"({"write_time": "2027-02-29 23:59:59"})").Ok());
    ALL.Image = image;
    EXPECT_FALSE(JsonToDocument("{").Ok());
    // A number no double holds is a fault like any other, not an escape.
    EXPECT_FALSE(JsonToDocument(R"({"channels": [{"number": 1e400}]})").Ok());
    EXPECT_EQ(ALL.Image, image);
}
