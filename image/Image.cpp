// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/Image.h"

#include <algorithm>
#include <bit>

#include "core/ImageLayout.h"
#include "core/State.h"
#include "image/DtmfDigits.h"
#include "image/SettingFields.h"
#include "image/Stamp.h"

namespace {
int MaskShift(uint8_t mask)
{
    return mask == 0 ? 0 : std::countr_zero(static_cast<unsigned>(mask));
}
}

uint8_t GetBitField(uint8_t byte, uint8_t mask, uint8_t limit, uint8_t fallback)
{
    uint8_t value = static_cast<uint8_t>((byte & mask) >> MaskShift(mask));
    return value > limit ? fallback : value;
}

void PutBitField(uint8_t& byte, uint8_t mask, uint8_t value)
{
    uint8_t shifted = static_cast<uint8_t>((value << MaskShift(mask)) & mask);
    byte = static_cast<uint8_t>((byte & ~mask) | shifted);
}

uint8_t GetSettingField(int index, uint8_t mask)
{
    size_t offset = kSettingsBase + static_cast<size_t>(index);
    if (index < 0 || offset >= kImageSize)
        return 0;
    return GetBitField(ALL.Image[offset], mask, 0xFF, 0xFF);
}

void SetSettingField(int index, uint8_t mask, uint8_t value)
{
    size_t offset = kSettingsBase + static_cast<size_t>(index);
    if (index < 0 || offset >= kImageSize)
        return;
    PutBitField(ALL.Image[offset], mask, value);
}

namespace {
constexpr size_t kDtmfPadFirst = 0x156; // two bytes the radio wants as 0xFF
constexpr size_t kDtmfPadCount = 2;
constexpr size_t kReservedFill = 0x300; // the one stretch of the reserved area New fills

// Normalised settings that no window shows: the DTMF transpond bit, which
// every window carries through unchanged.
constexpr SettingDefault kHiddenSettingDefaults[] = {
    {0x143, 0x01, 0, 1, 1},
};

std::vector<SettingDefault> CollectNormalisedSettings()
{
    std::vector<SettingDefault> rows;
    for (const SettingField& f : SettingFields())
        if (f.normal.checked)
            rows.push_back({f.offset, f.mask, f.normal.min, f.normal.max, f.normal.defaultValue});
    // A digit count holds at most the digits its field has room for; any
    // other count is put back to none.
    for (const DtmfStringField& s : DtmfStringFields())
        if (s.countOffset >= 0)
            rows.push_back({static_cast<uint16_t>(s.countOffset), 0xFF, 0, static_cast<uint8_t>(s.positions), 0});
    rows.insert(rows.end(), std::begin(kHiddenSettingDefaults), std::end(kHiddenSettingDefaults));
    return rows;
}
}

const std::vector<SettingDefault>& NormalisedSettings()
{
    static const std::vector<SettingDefault> rows = CollectNormalisedSettings();
    return rows;
}

void NormaliseSettings()
{
    for (const SettingDefault& row : NormalisedSettings()) {
        uint8_t& byte = ALL.Image[row.offset];
        uint8_t value = GetBitField(byte, row.mask, 0xFF, 0xFF);
        if (value < row.min || value > row.max)
            PutBitField(byte, row.mask, row.defaultValue);
    }
    FillImage(kDtmfPadFirst, kDtmfPadCount, 0xFF);
    ALL.Image[kBandCodeOffset] = FrqList.CodeOf(ALL.BandText);
}

void WriteModelBlock()
{
    WriteModelBlock(ALL.Image, ALL.ModelCode, FrqList.CodeOf(ALL.BandText));
}

void WriteModelBlock(std::span<uint8_t> image, const std::string& modelCode, uint8_t bandCode)
{
    image[kModelBlock + 7] = 0x00;
    image[kModelBlock + 6] = 0x00;
    image[kBandCodeOffset] = bandCode;
    for (int i = 3; i >= 0; --i) {
        size_t idx = static_cast<size_t>(i);
        // A model code is four characters; a shorter one leaves blanks.
        char c = idx < modelCode.size() ? modelCode[idx] : ' ';
        image[kModelBlock + 1 + idx] = static_cast<uint8_t>(c);
    }
    image[kModelBlock] = 0x50; // 'P'
}

void FillImage(size_t offset, size_t count, uint8_t value)
{
    if (offset >= kImageSize)
        return;
    count = std::min(count, kImageSize - offset);
    std::fill_n(ALL.Image.begin() + static_cast<std::ptrdiff_t>(offset), count, value);
}

void NewImage()
{
    FillImage(0, kReadBlocks * kBlockSize, 0xFF);
    FillImage(kReservedFill, kBlockSize, 0xFF);
    WriteModelBlock();
    EncodeStamp(kWriteStamp, NowStampText());
    NormaliseSettings();
}
