// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/State.h"
#include "image/ChannelCodec.h"
#include "image/formats/DataFile.h"
#include "image/Image.h"
#include "image/Stamp.h"
#include "tools/radio-sim/SimMemory.h"

namespace {
class SimMemory : public ::testing::Test {
protected:
    void SetUp() override { StartFresh(dir.path().string()); }
    TempDir dir;
    MessageRecorder messages;
};
}

TEST_F(SimMemory, SampleIsARadioThatHasBeenProgrammed)
{
    const RadioMemory sample = BuildSampleMemory();
    ALL.Image = sample;

    int channels = 0;
    TChannel c;
    for (int n = 1; n <= kMaxChannels; ++n)
        channels += DecodeChannel(n, c) ? 1 : 0;
    EXPECT_GE(channels, 5);
    ASSERT_TRUE(DecodeChannel(2, c));
    EXPECT_DOUBLE_EQ(c.RxFreq, 146.52);
    EXPECT_EQ(c.RxTone, "67.0");
    EXPECT_EQ(c.Power, 0);
    ASSERT_TRUE(DecodeChannel(3, c));
    EXPECT_DOUBLE_EQ(c.TxFreq, 147.6);
    ASSERT_TRUE(DecodeChannel(5, c));
    EXPECT_EQ(c.TxFreq, -1) << "a receive-only channel";
    ASSERT_TRUE(DecodeChannel(8, c));
    EXPECT_EQ(c.RxTone, "D754I");
    EXPECT_EQ(c.PttId, 3);

    // Every normalised setting away from its default yet in range, so a
    // read shows them as the radio holds them.
    for (const SettingDefault& row : NormalisedSettings()) {
        uint8_t value = GetBitField(sample[row.offset], row.mask, 0xFF, 0xFF);
        EXPECT_NE(value, row.defaultValue) << std::hex << row.offset << "/" << int(row.mask);
        EXPECT_LE(value, row.max) << std::hex << row.offset << "/" << int(row.mask);
    }
    NormaliseSettings();
    EXPECT_EQ(ALL.Image, sample);

    EXPECT_EQ(sample[kBandCodeOffset], 0xF0);
    EXPECT_EQ(std::string(sample.begin() + kModelBlock + 1, sample.begin() + kModelBlock + 5), "QV30");
    EXPECT_EQ(FormatStamp(sample.data() + kFactoryStamp), "2025-11-03 08:15:42");
    EXPECT_EQ(SerialNumberText(sample.data() + kSerialNumber), "3025110342QV");
    EXPECT_TRUE(messages.shown.empty()) << messages.shown.at(0).text;
}

TEST_F(SimMemory, SavesAsTheProgramWouldAfterAReadAndLoadsItBack)
{
    RadioMemory memory = BuildSampleMemory();
    memory[0x122] = 0x7F; // out of range: a radio may hold it, a load keeps it
    memory[0x17A] = 0x12;
    const std::string path = dir.file("radio.dat");
    ASSERT_TRUE(SaveMemoryFile(path, memory, "QV30"));

    std::string file = ReadAll(path);
    ASSERT_EQ(file.size(), kDataFileSize);
    FileHeader header;
    std::copy_n(file.begin(), header.size(), header.begin());
    FileHeaderTexts texts = DecodeFileHeader(header);
    EXPECT_EQ(texts.ModelCode, "QV30");
    EXPECT_EQ(texts.AreaCode, "    ") << "a read leaves no area code";

    std::string error;
    std::optional<RadioMemory> loaded = LoadMemoryFile(path, error);
    ASSERT_TRUE(loaded) << error;
    for (size_t i = 0; i < memory.size(); ++i) {
        uint8_t want = memory[i];
        if (i < 0x010 || i >= 0x1D0 || (i >= 0x178 && i < 0x180))
            want = 0xFF; // not in the file, or cleared by every save
        ASSERT_EQ((*loaded)[i], want) << "offset " << std::hex << i;
    }
}

TEST_F(SimMemory, RefusesFilesItCannotUse)
{
    std::string error;
    EXPECT_FALSE(LoadMemoryFile(dir.file("missing.dat"), error));
    EXPECT_NE(error.find("missing.dat"), std::string::npos);

    const std::string shortFile = dir.write("short.dat", std::string(463, '\xFF'));
    error.clear();
    EXPECT_FALSE(LoadMemoryFile(shortFile, error));
    EXPECT_NE(error.find("463"), std::string::npos) << error;

    EXPECT_FALSE(SaveMemoryFile(dir.path().string(), BuildSampleMemory(), "QV30")) << "a folder is no file";
    EXPECT_EQ(messages.shown.size(), 1u);
}
