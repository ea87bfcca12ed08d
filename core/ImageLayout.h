// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where everything lives in the radio memory image. An image offset is the
// radio's own memory address; the link moves 16-byte blocks, block n covering
// offsets n*16 to n*16+15.
#include <cstddef>
#include <cstdint>

inline constexpr size_t kImageSize = 0x312; // 786 bytes
inline constexpr size_t kBlockSize = 16;

inline constexpr size_t kChannelBase = 0x000; // channel n at n*16
inline constexpr int kMaxChannels = 16;
inline constexpr size_t kSettingsBase = 0x120; // GetSettingField index 0
inline constexpr size_t kModelBlock = 0x170;   // 'P', model code, band code, 0, 0
inline constexpr size_t kBandCodeOffset = 0x175;
inline constexpr size_t kModelBlockPad = 0x178; // 0x178-0x17F: FF in every saved file
inline constexpr size_t kModelBlockPadSize = 8;
inline constexpr size_t kWriteStamp = 0x180;
inline constexpr size_t kFactoryStamp = 0x190;
inline constexpr size_t kSerialNumber = 0x1A0;
inline constexpr size_t kStampSize = 16;

// The three working extents of the image.
inline constexpr size_t kReadBlocks = 28;     // a read replaces blocks 0-27 (0x000-0x1BF)
inline constexpr size_t kWriteBlocks = 25;    // a write sends blocks 0-24 (0x000-0x18F)
inline constexpr size_t kFileFirstBlock = 1;  // the data file holds blocks 1-28
inline constexpr size_t kFileBlockCount = 28; // 0x010-0x1CF

// One row of the region map.
enum class LinkUse { ReadWritten, ReadRebuiltWritten, ReadStampedWritten, ReadOnly, ZeroedNotWritten, None };
enum class NewFill { Fill0xFF, ModelBlock, Stamp, Unchanged, ReservedFill };

struct ImageRegion {
    size_t first;
    size_t last;
    const char* content;
    LinkUse link;
    bool storedInFile;
    NewFill onNew;
};

inline constexpr ImageRegion kRegionMap[] = {
    {0x000, 0x00F, "not interpreted", LinkUse::ReadWritten, false, NewFill::Fill0xFF},
    {0x010, 0x10F, "channel records", LinkUse::ReadWritten, true, NewFill::Fill0xFF},
    {0x110, 0x11F, "not interpreted", LinkUse::ReadWritten, true, NewFill::Fill0xFF},
    {0x120, 0x12F, "settings area", LinkUse::ReadWritten, true, NewFill::Fill0xFF},
    {0x130, 0x13F, "not interpreted", LinkUse::ReadWritten, true, NewFill::Fill0xFF},
    {0x140, 0x16F, "DTMF settings and codes", LinkUse::ReadWritten, true, NewFill::Fill0xFF},
    {0x170, 0x177, "model block", LinkUse::ReadRebuiltWritten, true, NewFill::ModelBlock},
    {0x178, 0x17F, "not interpreted", LinkUse::ReadWritten, true, NewFill::Fill0xFF},
    {0x180, 0x18F, "write time stamp", LinkUse::ReadStampedWritten, true, NewFill::Stamp},
    {0x190, 0x19F, "leave-factory time stamp", LinkUse::ReadOnly, true, NewFill::Fill0xFF},
    {0x1A0, 0x1AF, "serial number", LinkUse::ReadOnly, true, NewFill::Fill0xFF},
    {0x1B0, 0x1BF, "not interpreted", LinkUse::ZeroedNotWritten, true, NewFill::Fill0xFF},
    {0x1C0, 0x1CF, "not interpreted", LinkUse::None, true, NewFill::Unchanged},
    {0x1D0, 0x311, "reserved", LinkUse::None, false, NewFill::ReservedFill},
};

// Offset of the record of channel n (1-based).
constexpr size_t ChannelOffset(int n)
{
    return kChannelBase + static_cast<size_t>(n) * kBlockSize;
}
