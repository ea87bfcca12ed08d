// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 16-byte identification block of the handshake and the one-byte
// response the radio must give to it.
#include <array>
#include <cstdint>
#include <string>

inline constexpr size_t kIdentLength = 15;
using IdentBlock = std::array<uint8_t, 16>;

struct MachineFacts;

// The 31-character machine identification string from the family code and
// the facts of this computer.
std::string BuildMachineString(const std::string& familyCode, const MachineFacts& facts);
// The 15-character identification string taken from the machine string.
std::string BuildIdentString(const std::string& familyCode, const MachineFacts& facts);
// BuildIdentString with this computer's facts, read once per process.
std::string BuildIdentString(const std::string& familyCode);

uint8_t IdentCheckByte(const IdentBlock& block);
uint8_t IdentResponse(const IdentBlock& block);
// Fills the block from the first 15 characters of `identString` (missing
// characters are 0x00), sets the check byte and returns the expected response.
uint8_t BuildIdentBlock(const std::string& identString, IdentBlock& block);
