// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The channels as CHIRP's CSV channel list, and such a list into the
// document. The text is what a file holds (CR LF line ends); the columns
// and their values are the tables of ChirpColumns.
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The header, then one row per existing channel in channel order, Location
// being the channel number. `notes`, when given, gets one line per tone
// outside CHIRP's lists: CHIRP leaves such a row out, this program reads it.
std::string DocumentToChirpCsv(std::vector<std::string>* notes = nullptr);
// The same header, then rows for the given 0-based channel indices that
// hold a channel, in the order given.
std::string ChannelsToChirpCsv(std::span<const int> channels, std::vector<std::string>* notes = nullptr);

struct ChirpCsvOptions {
    // Each row goes to the channel its Location names (counted from 1, or
    // from 0 when the file's first Location is 0) instead of the next one.
    bool keepLocations = false;
    int firstChannel = 0; // 0-based slot where filling in file order starts
    // Empties the channels the file does not fill (a file import); a paste
    // leaves them alone.
    bool replaceChannels = false;
};

struct ChirpCsvRowRefusal {
    int line;           // line of the file, from 1
    std::string reason; // in the current language
};

struct ChirpCsvReport {
    // Why the file as a whole was not read (in the current language); empty
    // when it was. A file that was not read changed nothing.
    std::string failure;
    std::vector<ChirpCsvRowRefusal> refused;
    // Rows taken with a value other than written (rounded as typing rounds
    // it): the line and what became what, one entry per value.
    std::vector<ChirpCsvRowRefusal> changed;
    std::vector<std::string> notes; // each said once per file
    // 0 when no row was taken: the document is then as it was, and a file
    // import has failed.
    int taken = 0;

    bool Ok() const { return failure.empty(); }
};

// Applies the rows that can be taken to the document, each through the
// checks and the raster rounding of a frequency typed into the grid, and
// sets Modified when any was. Rows are never dropped silently: each one not
// taken is in `refused` with its line. With keepLocations, `replaceChannels`
// empties nothing: the channels the file does not name stay as they were.
ChirpCsvReport ChirpCsvToDocument(std::string_view text, const ChirpCsvOptions& options);

// "Line 7: reason" for each refused row.
std::vector<std::string> RefusalLines(const ChirpCsvReport& report);
// "Line 7: what became what" for each value changed.
std::vector<std::string> ChangeLines(const ChirpCsvReport& report);
