// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SHA-256 of a run of bytes, for naming exactly what went into a radio.
#include <cstddef>
#include <cstdint>
#include <string>

// The digest as 64 lower-case hexadecimal digits.
std::string Sha256Hex(const uint8_t* bytes, size_t count);
