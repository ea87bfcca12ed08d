// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/RadioContents.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/Catalogue.h"
#include "document/DocumentFiles.h"
#include "image/formats/DataFile.h"
#include "image/Image.h"
#include "image/Stamp.h"
#include "settings/Language.h"

RadioContents DocumentContents()
{
    return RadioContents{ALL.ModelCode, ALL.AreaCode, ALL.Image};
}

void TakeReadIntoDocument(const std::string& modelCode, std::span<const uint8_t> blocks)
{
    std::copy_n(blocks.begin(), std::min(blocks.size(), ALL.Image.size()), ALL.Image.begin());
    SelectModel(modelCode, ALL.Image[kBandCodeOffset], true);
    ALL.AreaCode.clear();
    NormaliseSettings();
    ALL.Modified = true;
}

void TakeWriteMarksIntoDocument(std::span<const uint8_t> sent)
{
    for (auto [from, count] : {std::pair{kModelBlock, size_t{8}}, std::pair{kWriteStamp, size_t{7}}})
        if (from + count <= sent.size())
            std::copy_n(sent.begin() + static_cast<std::ptrdiff_t>(from), count,
                        ALL.Image.begin() + static_cast<std::ptrdiff_t>(from));
}

ScopedContents::ScopedContents(const RadioContents& contents) : saved_(ALL)
{
    ALL.Image = contents.image;
    SelectModel(contents.modelCode, contents.BandCode(), true);
    ALL.AreaCode = contents.areaCode;
}

ScopedContents::~ScopedContents()
{
    ALL = saved_;
}

std::vector<uint8_t> ContentsToDataFile(const RadioContents& contents)
{
    ScopedContents scope(contents);
    return DocumentToDataFile();
}

std::optional<RadioContents> DataFileToContents(std::span<const uint8_t> bytes)
{
    const TALL saved = ALL;
    FileHeaderTexts header;
    FormatReport report = DataFileToDocument(bytes, &header);
    std::optional<RadioContents> contents;
    if (report.Ok())
        contents = DocumentContents();
    ALL = saved;
    return contents;
}

std::optional<RadioContents> ReadContentsFile(const std::string& path, std::string* error)
{
    // As Open reads it: the data file's own bytes, whatever the path names.
    int err = 0;
    std::optional<std::string> bytes = ReadFileBounded(path, kDataFileSize, false, err);
    if (!bytes) {
        if (error)
            *error = Language.FileOpenError + " \"" + path + "\": " + std::strerror(err);
        return std::nullopt;
    }
    std::optional<RadioContents> contents = DataFileToContents(
        {reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()});
    if (!contents && error)
        *error = Language.ModError;
    return contents;
}

std::string SerialNumberOf(const RadioContents& contents)
{
    return SerialNumberText(contents.image.data() + kSerialNumber);
}

std::string ModelNameOf(const RadioContents& contents)
{
    const TMacType* entry = MacList.FindByCodeAndBand(contents.modelCode, BandTextOf(contents));
    return entry ? entry->Name : contents.modelCode;
}

std::string BandTextOf(const RadioContents& contents)
{
    return FrqList.TextOf(contents.BandCode());
}
