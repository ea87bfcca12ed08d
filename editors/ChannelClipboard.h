// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Channels as text, the way a spreadsheet holds them: a title line of the
// channel grid's column titles, then one line per channel, the cells
// separated by tabs. A paste takes that form, the same lines without the
// title line (in the grid's column order), or plain text of one RX
// frequency per line, and fills the channels from a first channel down
// through the same checks as typing into the grid.
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One column of the channel grid as the window shows it.
struct SheetColumn {
    int field = 0;                   // field number; 1 is the channel number
    std::vector<std::string> titles; // the title shown, then other titles it is known by
    std::vector<std::string> items;  // the items shown for an option list, by value
    std::vector<std::string> none;   // the texts of no value (the no-tone word), the one shown first
};

// The title line and one line for each channel, each line ending in "\n".
std::string ChannelsToText(std::span<const SheetColumn> columns, std::span<const int> channels);

struct PasteRefusal {
    int line = 0; // line of the pasted text, from 1
    std::string reason;
};

// A pasted value that was stored as another one: a frequency put onto the
// channel raster, a tone rounded or brought into the tone range.
struct PasteChange {
    int line = 0;
    std::string pasted;
    std::string stored;
};

struct PasteReport {
    int rows = 0;           // channel rows the text held
    int taken = 0;          // rows stored into the document
    bool cancelled = false; // the user kept the document as it was
    std::string problem;    // why nothing could be taken at all; empty when rows were read
    std::vector<PasteRefusal> refused;
    std::vector<PasteChange> changed; // of the rows taken
};

// Stores the rows of `text` into channels `firstChannel` on. Rows that do
// not fit below ask first (MsgBox) whether to drop them; a row with a value
// that fails its check is left out whole and reported, its channel unchanged.
PasteReport PasteChannelText(std::string_view text, std::span<const SheetColumn> columns, int firstChannel);

// The message telling what a paste left out and which values it changed;
// empty when it took every row as it stood.
std::string PasteReportText(const PasteReport& report);
