// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Catalogue.h"

#include "base/NumberText.h"
#include "core/State.h"

TMacType::TMacType(std::string code, std::string name, int32_t channels, int32_t keyLayout)
    : Code(std::move(code)), Name(std::move(name)), Channels(channels), KeyLayout(keyLayout)
{
}

void TMacList::Add(TMacType entry)
{
    entries_.push_back(std::move(entry));
}

const TMacType* TMacList::Items(int i) const
{
    if (i < 0 || i >= Count())
        return nullptr;
    return &entries_[static_cast<size_t>(i)];
}

const TMacType* TMacList::FindByName(const std::string& name) const
{
    for (const auto& e : entries_)
        if (e.Name == name)
            return &e;
    return nullptr;
}

int32_t TMacList::ChannelsOf(const std::string& code) const
{
    for (const auto& e : entries_)
        if (e.Code == code)
            return e.Channels;
    return 0;
}

const TMacType* TMacList::FindByCodeAndBand(const std::string& code, const std::string& band) const
{
    for (const auto& e : entries_) {
        if (e.Code != code)
            continue;
        for (const auto& b : e.Bands)
            if (b == band)
                return &e;
    }
    return nullptr;
}

void TMacList::FillNames(std::vector<std::string>& names) const
{
    names.clear();
    for (const auto& e : entries_)
        names.push_back(e.Name);
}

void TFrqList::Add(const std::string& text, uint8_t code)
{
    pairs_.emplace_back(text, code);
}

uint8_t TFrqList::CodeOf(const std::string& text) const
{
    for (const auto& p : pairs_)
        if (p.first == text)
            return p.second;
    return pairs_.empty() ? kBandTable[0].code : pairs_[0].second;
}

std::string TFrqList::TextOf(uint8_t code) const
{
    for (const auto& p : pairs_)
        if (p.second == code)
            return p.first;
    return pairs_.size() > 3 ? pairs_[3].first : std::string(kBandTable[3].text);
}

void BuildBandList()
{
    for (const auto& row : kBandTable)
        FrqList.Add(row.text, row.code);
}

namespace {
constexpr const char* kFamilyName = "QV-300";
constexpr const char* kFamilyCode = "QV30";
constexpr int32_t kBaudRate = 4800;
}

void LoadModelDefaults()
{
    ALL.FamilyName = kFamilyName;
    TMacType model(kFamilyCode, ALL.FamilyName, 16, 3);
    model.MaxFreq = 650.0;
    model.MinFreq = 134.0;
    for (const auto& row : kBandTable)
        model.Bands.emplace_back(row.text);
    model.DefaultBand = "400 - 520MHz";
    MacList.Add(std::move(model));
    ALL.BaudRate = kBaudRate;
    ALL.FamilyCode = kFamilyCode;
}

void SelectModel(const std::string& modelCode, uint8_t bandCode, bool applyBand)
{
    std::string bandText = FrqList.TextOf(bandCode);
    if (const TMacType* entry = MacList.FindByCodeAndBand(modelCode, bandText)) {
        ALL.ModelName = entry->Name;
        ALL.ModelCode = entry->Code;
        ALL.KeyLayout = entry->KeyLayout;
        ALL.ModelMaxFreq = entry->MaxFreq;
        ALL.ModelMinFreq = entry->MinFreq;
        ALL.ChannelCount = entry->Channels;
        ALL.BandText = entry->DefaultBand;
        ALL.AreaCode.clear();
    }
    if (applyBand) {
        ALL.BandText = bandText;
        BandEdges edges = ParseBandText(ALL.BandText);
        ALL.BandLow = edges.low;
        ALL.BandHigh = edges.high;
    }
}

BandEdges ParseBandText(const std::string& bandText)
{
    BandEdges edges;
    size_t dash = bandText.find('-');
    if (dash == std::string::npos)
        return edges;
    edges.low = ParseNumber(bandText.substr(0, dash)).value_or(0);
    size_t mhz = bandText.find("MHz", dash + 1);
    std::string upper = bandText.substr(dash + 1, mhz == std::string::npos ? std::string::npos : mhz - dash - 1);
    edges.high = ParseNumber(upper).value_or(0);
    return edges;
}
