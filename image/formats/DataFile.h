// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ".dat" data file: a 16-byte header naming the model, then image
// blocks 1 to 28 (offsets 0x010-0x1CF) byte for byte, 464 bytes in all.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "image/formats/FormatReport.h"

inline constexpr size_t kFileHeaderSize = 16;
inline constexpr size_t kDataFileSize = kFileHeaderSize + 28 * 16; // 464

using FileHeader = std::array<uint8_t, kFileHeaderSize>;

struct FileHeaderTexts {
    std::string ModelCode; // exactly 4 characters, as stored
    std::string FamilyCode;
    std::string AreaCode;
};

FileHeader EncodeFileHeader(const std::string& modelCode, const std::string& familyCode, const std::string& areaCode);
FileHeaderTexts DecodeFileHeader(const FileHeader& header);

// The document as a data file: the header of its model, family and area
// codes, then the stored stretch of the image as it is, except the eight
// bytes after the model block, which a file always holds as FF.
std::vector<uint8_t> DocumentToDataFile();

// Takes the bytes of a data file into the document. A file whose header
// names no known model is refused ("ModError") and the document left alone.
// Otherwise the stored stretch of the image is replaced as far as the file
// goes (bytes after it are ignored), the model and band are selected from
// the header and the band byte, the area code is taken, the settings are
// normalised and channel 1 becomes the current one. `header`, when given,
// receives the header texts of an accepted file.
FormatReport DataFileToDocument(std::span<const uint8_t> bytes, FileHeaderTexts* header = nullptr);
