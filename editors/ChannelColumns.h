// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The channel grid's column list as the program ships it: a key (S shown,
// N not; alignment; kind N number, R typed, S list, M more) and
// "width@Title". Position in the list (from 1) is the field number the
// codec writes for the column. The grid builds its columns from it and the
// print takes the titles of the shown ones.
#include <span>

struct ChannelColumn {
    const char* key;
    const char* value;
};

std::span<const ChannelColumn> ChannelColumns();

// The widths above, and the grid's row and title heights, are pixels for
// the desktop's usual font, whose lines are up to kDesignLineHeight pixels
// high. A larger font (a desktop set to large text) makes them grow in
// proportion, rounded up, so that no title or value is cut; a smaller one
// keeps them as they are. Screen scaling needs nothing here: it scales
// pixels and fonts alike.
constexpr int kDesignLineHeight = 17;
int ScaledToFont(int pixels, int lineHeight);
