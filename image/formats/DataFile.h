#pragma once
// The ".dat" data file: a 16-byte header naming the model, then image
// blocks 1 to 28 (offsets 0x010-0x1CF) byte for byte, 464 bytes in all.
#include <array>
#include <cstdint>
#include <string>

inline constexpr size_t kFileHeaderSize = 16;
inline constexpr size_t kDataFileSize = kFileHeaderSize + 28 * 16; // 464

using FileHeader = std::array<uint8_t, kFileHeaderSize>;

struct FileHeaderTexts {
    std::string ModelCode;  // exactly 4 characters, as stored
    std::string FamilyCode;
    std::string AreaCode;
};

FileHeader EncodeFileHeader(const std::string& modelCode, const std::string& familyCode, const std::string& areaCode);
FileHeaderTexts DecodeFileHeader(const FileHeader& header);

// Writes the document to `fileName`. The file is written beside the target
// under a temporary name and then renamed over it, so a failure part-way
// leaves the previous file as it was. On failure a message with the path
// and the system's reason is shown and false returned; Modified stays as it
// was. On success Modified is cleared.
bool WriteDataFile(const std::string& fileName);

enum class ReadResult { Ok, CannotOpen, WrongModel };

// Replaces the document with the file `fileName`. On failure the document
// is unchanged, `fileName` is emptied and a message is shown. `header`, when
// given, receives the header texts of an accepted file.
ReadResult ReadDataFile(std::string& fileName, FileHeaderTexts* header = nullptr);
