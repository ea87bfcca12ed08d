#include "image/Image.h"

#include <algorithm>
#include <bit>

#include "core/State.h"
#include "image/ImageLayout.h"
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

// Settings fields that must hold a usable value; anything outside its range
// after New, a read or an Open is put back to the default.
const SettingDefault kSettingDefaults[23] = {
    {0x121, 0x0F, 0, 9, 5},
    {0x122, 0xFF, 0, 30, 12},
    {0x123, 0x0F, 0, 8, 4},
    {0x125, 0xFF, 0, 9, 0},
    {0x126, 0xFF, 0, 27, 12},
    {0x127, 0x0F, 0, 5, 1},
    {0x128, 0x0F, 0, 5, 5},
    {0x127, 0xF0, 0, 5, 3},
    {0x128, 0xF0, 0, 5, 4},
    {0x129, 0xFF, 0, 9, 5},
    {0x140, 0x0F, 0, 11, 2},
    {0x141, 0x0F, 0, 10, 0},
    {0x141, 0xF0, 0, 9, 0},
    {0x144, 0x0F, 0, 6, 0},
    {0x142, 0x30, 0, 3, 3},
    {0x145, 0x3F, 0, 60, 10},
    {0x145, 0x40, 0, 1, 0},
    {0x143, 0x01, 0, 1, 1},
    {0x146, 0x0F, 0, 10, 0},
    {0x146, 0xF0, 0, 15, 15},
    {0x14D, 0xFF, 0, 16, 0},
    {0x14E, 0xFF, 0, 16, 0},
    {0x150, 0xFF, 0, 10, 0},
};

namespace {
constexpr size_t kDtmfPadFirst = 0x156; // two bytes the radio wants as 0xFF
constexpr size_t kDtmfPadCount = 2;
constexpr size_t kReservedFill = 0x300; // the one stretch of the reserved area New fills
}

void NormaliseSettings()
{
    for (const auto& row : kSettingDefaults) {
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
    ALL.Image[kModelBlock + 7] = 0x00;
    ALL.Image[kModelBlock + 6] = 0x00;
    ALL.Image[kBandCodeOffset] = FrqList.CodeOf(ALL.BandText);
    for (int i = 3; i >= 0; --i) {
        size_t idx = static_cast<size_t>(i);
        // A model code is four characters; a shorter one leaves blanks.
        char c = idx < ALL.ModelCode.size() ? ALL.ModelCode[idx] : ' ';
        ALL.Image[kModelBlock + 1 + idx] = static_cast<uint8_t>(c);
    }
    ALL.Image[kModelBlock] = 0x50; // 'P'
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
