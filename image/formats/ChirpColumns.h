// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One channel as a row of CHIRP's CSV and back. The column names and the
// value mappings (tone modes, duplex, DCS polarity, mode, power, skip and
// this radio's own columns) are tables in ChirpColumns.cpp; the document
// level (which channels, which lines, the report) is ChirpCsv.
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

class TChannel;

// CHIRP's 21 columns, then this radio's own: BusyLock, Epilogue, PttId.
std::span<const char* const> ChirpColumnNames();

// How CHIRP spells the tones of a channel. The fields are CHIRP's columns of
// the same names; those a tone mode does not use hold CHIRP's defaults.
struct ChirpTones {
    std::string tone; // "", "Tone", "TSQL", "DTCS" or "Cross"
    std::string rToneFreq = "88.5";
    std::string cToneFreq = "88.5";
    std::string dtcsCode = "023";
    std::string dtcsPolarity = "NN";
    std::string rxDtcsCode = "023";
    std::string crossMode = "Tone->Tone";
};

// The tone texts of this radio ("", "88.5", "D023N", "D023I") as CHIRP's
// tone columns, and back. Back gives the TX and RX tone texts, or the
// refusal text (a malformed number, a tone the radio cannot send, a value
// outside a column's list).
ChirpTones TonesToChirp(const std::string& txTone, const std::string& rxTone);
struct ChirpTonesBack {
    std::string txTone;
    std::string rxTone;
    std::string refusal;              // empty when the tones were taken
    std::vector<std::string> changes; // tones rounded to one decimal: what became what
};
ChirpTonesBack TonesFromChirp(const ChirpTones& tones);

// How CHIRP spells TX: Duplex and Offset from RX and TX (MHz, TX -1 when
// the channel has none), and back. `inBand` tells whether TX lies in the
// document's band (split otherwise).
struct ChirpDuplex {
    std::string duplex;
    std::string offset;
};
ChirpDuplex DuplexToChirp(double rx, double tx, bool inBand);
// TX in MHz (-1 for none), or nothing when Duplex is none of CHIRP's values
// or Offset is no number; `refusal` then says why.
std::optional<double> DuplexFromChirp(double rx, const ChirpDuplex& d, std::string& refusal);

// A row of values for ChirpColumnNames(): `location` and the channel.
std::vector<std::string> ChannelToChirpRow(int location, const TChannel& c, bool txInBand);
// The channel's tones (as this radio spells them) that lie outside CHIRP's
// lists, so that CHIRP leaves the channel's row out; each once.
std::vector<std::string> ChirpUnlistedTones(const TChannel& c);

// A row read back: the values by column name ("" for a column the file
// lacks). The channel's texts as the grid stores them, or a refusal.
using ChirpField = std::function<std::string(const char* column)>;
struct ChirpChannel {
    std::string rx; // MHz text, on the raster
    std::string tx; // MHz text, "" for none
    std::string rxTone;
    std::string txTone;
    std::vector<std::pair<int, int>> items; // channel field number, list index
    bool hasText = false;                   // a name or comment the radio cannot keep
    std::vector<std::string> changes;       // each value taken other than written: what became what
    std::string refusal;                    // empty when the row can be taken
};
ChirpChannel ChannelFromChirp(const ChirpField& field);

// Formats a frequency in MHz as CHIRP does, with six decimals.
std::string ChirpFrequency(double mhz);
