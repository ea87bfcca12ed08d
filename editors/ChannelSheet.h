// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Operations on whole channels of the document, as the channel grid offers
// them on its selection. Channels are numbered from 1, listed ascending
// without repeats. Each operation keeps ALL.CurrentChannel on the channel
// it was on, wherever that channel goes, and returns false when it changed
// nothing.
#include <span>
#include <string>

class TChannel;
struct ChannelField;

// Empties the channels.
bool ClearChannels(std::span<const int> channels);
// Moves the channels one place up (step -1) or down (step +1): each swaps
// with its neighbour, so a block moves as a block. Nothing moves when the
// block is already at the edge.
bool MoveChannels(std::span<const int> channels, int step);
// Makes channel `at` an empty channel, the channels from `at` on moving one
// place down. Only while the last channel is empty, so nothing is lost.
bool InsertEmptyChannel(int at);
// Gives every channel of the list the value of `field` that the first one
// has. An empty channel takes an RX frequency (as a new channel) but no
// other field.
bool FillDown(int field, std::span<const int> channels);
// Orders the channels of the list among their own places by RX frequency,
// empty channels last; equal frequencies keep their order.
bool SortByRxFrequency(std::span<const int> channels);

// The text EncodeChannelField takes for a field of a decoded channel.
std::string ChannelFieldValue(const ChannelField& field, const TChannel& channel);
