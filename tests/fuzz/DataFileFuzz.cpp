// SPDX-License-Identifier: GPL-3.0-or-later
// The data file as Open takes it, and the dump of what it opened. A refused
// file leaves the document alone; an accepted one saves to bytes that open
// to the same document and save again to the same bytes, and its dump loads
// back onto it unchanged.
#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "FuzzSupport.h"
#include "app/Startup.h"
#include "core/ImageLayout.h"
#include "core/State.h"
#include "image/formats/DataFile.h"
#include "image/formats/JsonDump.h"
#include "image/formats/JsonLoad.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Open reads no more than a data file holds.
    std::span<const uint8_t> bytes(data, std::min(size, kDataFileSize));
    StartFirstDocument();
    const auto before = ALL.Image;
    FileHeaderTexts header;
    if (!DataFileToDocument(bytes, &header).Ok()) {
        FUZZ_CHECK(ALL.Image == before);
        return 0;
    }
    FUZZ_CHECK(!DocumentToJson(header).empty());

    const std::vector<uint8_t> saved = DocumentToDataFile();
    const auto opened = ALL.Image;
    const std::string model = ALL.ModelCode, band = ALL.BandText, area = ALL.AreaCode;
    FUZZ_CHECK(DataFileToDocument(saved).Ok());
    FUZZ_CHECK(DocumentToDataFile() == saved);
    // The document opened from the save is the one saved (settings already
    // normalised stay so), but for the pad after the model block, which a
    // file always holds as FF.
    const size_t first = kFileFirstBlock * kBlockSize, end = first + kFileBlockCount * kBlockSize;
    for (size_t i = first; i < end; ++i) {
        bool pad = i >= kModelBlockPad && i < kModelBlockPad + kModelBlockPadSize;
        FUZZ_CHECK(ALL.Image[i] == (pad ? 0xFF : opened[i]));
    }
    FUZZ_CHECK(ALL.ModelCode == model && ALL.BandText == band && ALL.AreaCode == area);

    // Its dump loads back onto it without changing a byte, whatever it holds.
    const JsonLoadReport loaded = JsonToDocument(DocumentToJson(header));
    FUZZ_CHECK(loaded.Ok());
    const std::vector<uint8_t> again = DocumentToDataFile();
    FUZZ_CHECK(std::equal(saved.begin() + kFileHeaderSize, saved.end(), again.begin() + kFileHeaderSize));
    FUZZ_CHECK(loaded.header.FamilyCode == header.FamilyCode && loaded.header.AreaCode == header.AreaCode);
    return 0;
}
