// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The differences between two radio memories in words: the model and band,
// channel by channel (added, deleted, or each field's old and new value as
// the channel grid shows it) and setting by setting with the settings
// windows' labels and items, in the current language. The write preview,
// the command line's diff and verify and the verify after a write all say
// it this way.
#include <optional>
#include <string>
#include <vector>

#include "document/RadioContents.h"

enum class ChangeKind { Model, Band, ChannelAdded, ChannelDeleted, ChannelField, Setting, OtherData };

struct ContentChange {
    ChangeKind kind;
    int channel = 0;    // channels only, from 1
    std::string place;  // "Channel 3", the settings window's title, "Model"
    std::string field;  // the column title or the setting's label; empty for a whole channel
    std::string before; // texts as the grid and the windows show them
    std::string after;
    std::string key; // a stable name for machines: "channel.3.power", "setting.squelch_level"
};

// What would change if `before` were replaced by `after`: the blocks a write
// sends, without the write time stamp (every write makes a new one).
std::vector<ContentChange> DiffContents(const RadioContents& before, const RadioContents& after);

// One line per change.
std::string ChangeLine(const ContentChange& change);
// Every line, or the sentence that nothing changes.
std::string ChangesText(const std::vector<ContentChange>& changes);

// The first block from 0 to 24 in which the two differ, and where it is: a
// channel ("Channel 3"), a setting's label, or the block itself.
struct BlockDifference {
    int block;
    std::string place;
};
std::optional<BlockDifference> FirstDifferentBlock(const uint8_t* sent, const uint8_t* readBack);
