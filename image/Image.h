// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Field access and the whole-image operations on the document's memory
// image (ALL.Image).
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A bit field is a byte and a mask: its value is (byte AND mask) shifted
// right to the mask's lowest set bit. A value above `limit` reads as
// `fallback`.
uint8_t GetBitField(uint8_t byte, uint8_t mask, uint8_t limit, uint8_t fallback);
// Clears the mask bits and ORs in the value at the mask's position; bits of
// the value that do not fit the mask are dropped.
void PutBitField(uint8_t& byte, uint8_t mask, uint8_t value);

// The same on image byte 0x120 + index, without limit.
uint8_t GetSettingField(int index, uint8_t mask);
void SetSettingField(int index, uint8_t mask, uint8_t value);

// One row of the normalisation: a field out of [min, max] is put back to
// its default after New, a read and an Open.
struct SettingDefault {
    uint16_t offset;
    uint8_t mask;
    uint8_t min;
    uint8_t max;
    uint8_t defaultValue;
};
// Every normalised field: the settings table's rows with a range, the digit
// counts of the DTMF strings, and the few settings no window shows.
const std::vector<SettingDefault>& NormalisedSettings();

void NormaliseSettings();
void WriteModelBlock();
// The model block of `modelCode` and the band `bandCode` in another image
// than the document's.
void WriteModelBlock(std::span<uint8_t> image, const std::string& modelCode, uint8_t bandCode);
void NewImage();

// Writes `count` bytes of `value` from `offset` on (clipped to the image).
void FillImage(size_t offset, size_t count, uint8_t value);
