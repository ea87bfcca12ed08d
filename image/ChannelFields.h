// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The per-channel fields as data: field number (the position in the channel
// grid's column list), where the field sits in the record, and the items of
// its drop-down list. The codec, the channel grid and the dump all read this.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class TChannel;

enum class ChannelFieldKind { RxFrequency, TxFrequency, RxTone, TxTone, Flag, PttId };

struct ChannelField {
    int number; // field number in EncodeChannelField
    ChannelFieldKind kind;
    const char* comboName;          // drop-down list of the grid ("" for the frequency edits)
    const char* jsonKey;            // name in the command line's dump
    uint8_t recordByte;             // first byte in the 16-byte record
    uint8_t mask;                   // flags byte mask (flags and PTT ID only)
    std::vector<const char*> items; // English list items, index = stored value
    uint8_t TChannel::*member;      // decoded value in TChannel (flags and PTT ID only)
};

// In field-number order: 2, 3, 4, 5, 6, 7, 8, 9, 10, 13.
std::span<const ChannelField> ChannelFields();
// nullptr for numbers that name no field.
const ChannelField* FindChannelField(int number);

inline constexpr uint8_t kFlagsByte = 12;

// The text a decoded channel shows for one field: a frequency with five
// decimals (empty for a record without TX), the tone text (empty for no
// tone), or the English item of an option list.
std::string ChannelFieldText(const ChannelField& field, const TChannel& c);

// The title part of a channel grid column's "width@title" value ("RX
// Frequency"), a '|' line break shown as a blank.
std::string ColumnTitleOf(const std::string& value);

// The tone combo's list after its no-tone word: 50 CTCSS tones, then the 105
// DCS codes with N, then the same codes with I.
const std::vector<std::string>& ToneList();
