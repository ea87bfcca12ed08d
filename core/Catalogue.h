// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The radio models the program knows and the band list. There is no model
// file: the catalogue is built in memory at start-up.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct TMacType {
    std::string Code; // 4-character model code, the key of the catalogue
    std::string Name; // display name
    int32_t Channels = 0;
    int32_t KeyLayout = 0;
    double MaxFreq = 0;             // MHz
    double MinFreq = 0;             // MHz
    std::vector<std::string> Bands; // band texts, display order
    std::string DefaultBand;

    TMacType(std::string code, std::string name, int32_t channels, int32_t keyLayout);
};

class TMacList {
public:
    void Add(TMacType entry);
    // nullptr when i is not below the number of entries.
    const TMacType* Items(int i) const;
    int Count() const { return static_cast<int>(entries_.size()); }
    const TMacType* FindByName(const std::string& name) const;
    // 0 when no entry has that code: callers take 0 as "no such model".
    int32_t ChannelsOf(const std::string& code) const;
    const TMacType* FindByCodeAndBand(const std::string& code, const std::string& band) const;
    void FillNames(std::vector<std::string>& names) const;
    void Clear() { entries_.clear(); }

private:
    std::vector<TMacType> entries_;
};

class TFrqList {
public:
    void Add(const std::string& text, uint8_t code);
    // The code of the text; 0xF0 (the first band) for an unknown text.
    uint8_t CodeOf(const std::string& text) const;
    // The text of the code; the fourth band for an unknown code.
    std::string TextOf(uint8_t code) const;
    int Count() const { return static_cast<int>(pairs_.size()); }
    const std::pair<std::string, uint8_t>& At(int i) const { return pairs_.at(static_cast<size_t>(i)); }
    void Clear() { pairs_.clear(); }

private:
    std::vector<std::pair<std::string, uint8_t>> pairs_;
};

// The catalogue of the running program, built at start-up.
extern TMacList MacList;

// One row of the band list: its text and the code stored at image 0x175.
struct BandRow {
    const char* text;
    uint8_t code;
};
inline constexpr BandRow kBandTable[] = {
    {"134 - 174MHz", 0xF0},
    {"200 - 260MHz", 0xF1},
    {"320 - 400MHz", 0xF2},
    {"400 - 520MHz", 0xF3},
};

void BuildBandList();
void LoadModelDefaults();
void SelectModel(const std::string& modelCode, uint8_t bandCode, bool applyBand);

// "400 - 520MHz" gives 400 and 520. A part that is not a number gives 0.
struct BandEdges {
    double low = 0;
    double high = 0;
};
BandEdges ParseBandText(const std::string& bandText);
