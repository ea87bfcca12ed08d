// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Number texts that never depend on the user's locale: the program always
// writes and reads decimals with a point, whatever LC_NUMERIC says.
#include <optional>
#include <string>
#include <string_view>

// Reads a decimal number the way a user types one: blanks around it are
// allowed, then an optional sign, digits with at most one point, and an
// optional exponent. Anything else (an empty text, "4.5.6", "12abc") is no
// number.
std::optional<double> ParseNumber(std::string_view text);

// Reads a whole decimal number (optional sign, blanks around it allowed) that
// fits 32 bits.
std::optional<int> ParseInteger(std::string_view text);

// Formats like the mask "0.000" with `decimals` digits after the point (0 for
// "0000"-style masks), padded with leading zeros to at least `minIntDigits`
// integer digits. Rounds half away from zero on the value's shortest decimal
// form, so 146.525 gives "146.53" even though its binary value lies below.
// Total: any value (not finite counts as 0) and any counts (a negative
// count as 0) give a text that ParseNumber reads back.
std::string FormatFixed(double value, int decimals, int minIntDigits = 1);

// Upper-case ASCII copy; other bytes unchanged.
std::string UpperAscii(std::string_view text);

// The text with blanks and control characters removed at both ends.
std::string TrimBlanks(std::string_view text);
