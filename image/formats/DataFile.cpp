// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/formats/DataFile.h"

#include <algorithm>

#include "core/State.h"
#include "image/Image.h"

namespace {
constexpr uint8_t kHeaderMark = 0x50;                            // 'P'
constexpr size_t kFileDataOffset = kFileFirstBlock * kBlockSize; // 0x010
constexpr size_t kFileDataSize = kFileBlockCount * kBlockSize;   // 448

void PutCode(FileHeader& header, size_t at, const std::string& text)
{
    std::string padded = text + "     ";
    for (size_t i = 0; i < 4; ++i)
        header[at + i] = static_cast<uint8_t>(padded[i]);
}
}

FileHeader EncodeFileHeader(const std::string& modelCode, const std::string& familyCode, const std::string& areaCode)
{
    FileHeader header;
    header.fill(0xFF);
    header[0] = kHeaderMark;
    PutCode(header, 1, modelCode);
    PutCode(header, 5, familyCode);
    PutCode(header, 9, areaCode);
    return header;
}

FileHeaderTexts DecodeFileHeader(const FileHeader& header)
{
    auto text = [&](size_t at) { return std::string(reinterpret_cast<const char*>(header.data() + at), 4); };
    return {text(1), text(5), text(9)};
}

std::vector<uint8_t> DocumentToDataFile()
{
    FileHeader header = EncodeFileHeader(ALL.ModelCode, ALL.FamilyCode, ALL.AreaCode);
    std::vector<uint8_t> bytes(kDataFileSize);
    std::copy(header.begin(), header.end(), bytes.begin());
    std::copy_n(ALL.Image.begin() + kFileDataOffset, kFileDataSize, bytes.begin() + kFileHeaderSize);
    std::fill_n(bytes.begin() + kFileHeaderSize + (kModelBlockPad - kFileDataOffset), kModelBlockPadSize, 0xFF);
    return bytes;
}

FormatReport DataFileToDocument(std::span<const uint8_t> bytes, FileHeaderTexts* header)
{
    // A file too short to hold a header names no model.
    if (bytes.size() < kFileHeaderSize)
        return {&TLanguage::ModError};
    FileHeader head;
    std::copy_n(bytes.begin(), kFileHeaderSize, head.begin());
    FileHeaderTexts texts = DecodeFileHeader(head);
    if (MacList.ChannelsOf(texts.ModelCode) == 0)
        return {&TLanguage::ModError};

    ALL.CurrentChannel = 1;
    std::span<const uint8_t> data = bytes.subspan(kFileHeaderSize);
    std::copy_n(data.begin(), std::min(data.size(), kFileDataSize), ALL.Image.begin() + kFileDataOffset);
    SelectModel(texts.ModelCode, ALL.Image[kBandCodeOffset], true);
    ALL.AreaCode = texts.AreaCode;
    NormaliseSettings();
    if (header)
        *header = std::move(texts);
    return {};
}
