// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Time stamps and the serial number as the radio keeps them.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Stores "yyyy-MM-dd HH:mm:ss" as a 7-byte time stamp at image `offset`:
// year low byte, year high byte, month, day, hour, minute, second. Bytes 7 to
// 15 of the stamp are left alone.
void EncodeStamp(size_t offset, const std::string& text);
// The same in another image than the document's.
void EncodeStamp(std::span<uint8_t> image, size_t offset, const std::string& text);

// The current local date and time as "yyyy-MM-dd HH:mm:ss".
std::string NowStampText();

// "2012-12-31 23:59:09" from the 16 stamp bytes; empty when all are 0xFF.
std::string FormatStamp(const uint8_t* bytes16);

// The serial number region shown as text: every byte from 0x21 to 0x7E in
// order, in capital letters; blanks, filler and other bytes are skipped.
std::string SerialNumberText(const uint8_t* bytes16);
