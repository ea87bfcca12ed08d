// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A radio's memory held apart from the document: what a backup read or a
// verify read brought back, or a data file opened without replacing the
// document. The field tables work on the document image, so the contents
// are looked at by putting them in the document's place for a moment.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/ImageLayout.h"
#include "core/State.h"

struct RadioContents {
    std::string modelCode; // the code the radio or the file names ("QV30")
    std::string areaCode;
    std::array<uint8_t, kImageSize> image{};

    uint8_t BandCode() const { return image[kBandCodeOffset]; }
};

// The document as it is now.
RadioContents DocumentContents();
// A read from the radio becomes the document: `blocks` (blocks 0..27 as
// read) replace image 0x000..0x1BF, the model and band are selected from
// them, the settings are normalised and the document counts as changed.
void TakeReadIntoDocument(const std::string& modelCode, std::span<const uint8_t> blocks);
// A write leaves in the document what it put into the radio beyond it: the
// model block and, once the handshake passed, the write time. `sent` holds
// blocks 0..24 as the write prepared them.
void TakeWriteMarksIntoDocument(std::span<const uint8_t> sent);

// Puts `contents` in the document's place (model and band selected from
// them) until it goes out of scope; the document then is exactly as before.
class ScopedContents {
public:
    explicit ScopedContents(const RadioContents& contents);
    ~ScopedContents();
    ScopedContents(const ScopedContents&) = delete;
    ScopedContents& operator=(const ScopedContents&) = delete;

private:
    TALL saved_;
};

// The 464-byte data file of the contents, as Save writes a document.
std::vector<uint8_t> ContentsToDataFile(const RadioContents& contents);
// The contents of a data file, opened as Open opens it on the document as
// it is now; nothing for a file of an unknown model. The document is left
// alone.
std::optional<RadioContents> DataFileToContents(std::span<const uint8_t> bytes);
// The same from a file on disk; nothing when it cannot be read (`error`
// then says why) or names no known model.
std::optional<RadioContents> ReadContentsFile(const std::string& path, std::string* error = nullptr);

// The radio's serial number as the Radio Information window shows it.
std::string SerialNumberOf(const RadioContents& contents);
// The model name and the band text the catalogue gives the contents.
std::string ModelNameOf(const RadioContents& contents);
std::string BandTextOf(const RadioContents& contents);
