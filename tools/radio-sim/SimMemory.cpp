// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/radio-sim/SimMemory.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/Startup.h"
#include "core/State.h"
#include "document/DocumentFiles.h"
#include "image/ChannelCodec.h"
#include "image/ChannelFields.h"
#include "image/formats/DataFile.h"
#include "image/Image.h"
#include "image/Stamp.h"

namespace {
// Field numbers of the channel grid's columns (ChannelFields.h).
enum Field : int {
    Rx = 2,
    Tx = 3,
    RxTone = 4,
    TxTone = 5,
    Power = 6,
    Bandwidth = 7,
    Scan = 8,
    BusyLock = 9,
    Tail = 10,
    PttId = 13
};

struct SampleChannel {
    int number;
    const char* rx;
    // Field number and text, applied after InitChannel set the new-channel values.
    std::vector<std::pair<int, const char*>> changes;
};

const SampleChannel kSampleChannels[] = {
    {1, "145.50000", {}},
    {2, "146.52000", {{RxTone, "67.0"}, {TxTone, "67.0"}, {Power, "0"}}},
    {3, "147.00000", {{Tx, "147.60000"}, {TxTone, "100.0"}}},
    {4, "151.62500", {{RxTone, "D023N"}, {TxTone, "D023N"}, {Bandwidth, "0"}}},
    {5, "156.80000", {{Tx, ""}, {Scan, "0"}}},
    {8, "162.55000", {{RxTone, "D754I"}, {PttId, "3"}, {BusyLock, "0"}, {Tail, "0"}}},
    {16, "173.99500", {{TxTone, "254.1"}, {PttId, "1"}}},
};

constexpr uint8_t kSampleBand = 0xF0; // 134 - 174MHz, not the default band
constexpr const char* kSampleWriteTime = "2026-05-04 10:20:30";
constexpr const char* kSampleFactoryTime = "2025-11-03 08:15:42";
constexpr const char* kSampleSerial = "3025110342QV";
}

RadioMemory BuildSampleMemory()
{
    StartFirstDocument(kSampleBand);
    for (const SampleChannel& c : kSampleChannels) {
        InitChannel(c.number, c.rx);
        for (const auto& [field, text] : c.changes)
            EncodeChannelField(c.number, field, text);
    }
    // Every normalised setting one step away from its default, still in range.
    for (const SettingDefault& row : NormalisedSettings()) {
        uint8_t value = row.defaultValue < row.max ? row.defaultValue + 1 : row.defaultValue - 1;
        SetSettingField(static_cast<int>(row.offset - kSettingsBase), row.mask, value);
    }
    EncodeStamp(kWriteStamp, kSampleWriteTime);
    EncodeStamp(kFactoryStamp, kSampleFactoryTime);
    std::copy_n(kSampleSerial, std::strlen(kSampleSerial), ALL.Image.begin() + kSerialNumber);
    return ALL.Image;
}

std::optional<RadioMemory> LoadMemoryFile(const std::string& path, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < kDataFileSize) {
        error = path + " is not a data file: " + std::to_string(bytes.size()) + " bytes, not " +
                std::to_string(kDataFileSize);
        return std::nullopt;
    }
    RadioMemory memory;
    memory.fill(0xFF);
    std::copy_n(bytes.begin() + kFileHeaderSize, kFileBlockCount * kBlockSize,
                memory.begin() + kFileFirstBlock * kBlockSize);
    return memory;
}

bool SaveMemoryFile(const std::string& path, const RadioMemory& memory, const std::string& modelCode)
{
    ALL.Image = memory;
    ALL.ModelCode = modelCode;
    ALL.AreaCode.clear(); // a read leaves the area code empty
    return SaveDocumentFile(path);
}
