// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/ChannelSheet.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/State.h"
#include "image/ChannelCodec.h"
#include "image/ChannelFields.h"

namespace {
constexpr int kRxField = 2;

using Record = std::array<uint8_t, kBlockSize>;

bool IsChannel(int n)
{
    return n >= 1 && n <= std::min(ALL.ChannelCount, kMaxChannels);
}

Record RecordOf(int n)
{
    Record r;
    std::copy_n(ALL.Image.begin() + static_cast<std::ptrdiff_t>(ChannelOffset(n)), kBlockSize, r.begin());
    return r;
}

void PutRecord(int n, const Record& r)
{
    std::copy(r.begin(), r.end(), ALL.Image.begin() + static_cast<std::ptrdiff_t>(ChannelOffset(n)));
}

// Puts the records of `from` into the places of `to` (same length): place
// to[i] receives what from[i] held. The current channel goes along.
bool Rearrange(const std::vector<int>& from, const std::vector<int>& to)
{
    std::vector<Record> records;
    for (int n : from)
        records.push_back(RecordOf(n));
    const auto before = ALL.Image;
    int current = ALL.CurrentChannel;
    for (size_t i = 0; i < to.size(); ++i) {
        PutRecord(to[i], records[i]);
        if (from[i] == ALL.CurrentChannel)
            current = to[i];
    }
    ALL.CurrentChannel = current;
    return ALL.Image != before;
}

bool AllChannels(std::span<const int> channels)
{
    return !channels.empty() && std::all_of(channels.begin(), channels.end(), IsChannel);
}
} // namespace

std::string ChannelFieldValue(const ChannelField& field, const TChannel& channel)
{
    if (field.member)
        return std::to_string(channel.*(field.member));
    return ChannelFieldText(field, channel);
}

bool ClearChannels(std::span<const int> channels)
{
    const auto before = ALL.Image;
    for (int n : channels)
        if (IsChannel(n))
            ClearChannel(n);
    return ALL.Image != before;
}

bool MoveChannels(std::span<const int> channels, int step)
{
    if (!AllChannels(channels) || (step != -1 && step != 1))
        return false;
    const int edge = step < 0 ? channels.front() : channels.back();
    if (!IsChannel(edge + step))
        return false;
    // Each channel swaps with its neighbour, the one nearest the edge
    // first, so a block moves as a block and its neighbour lands behind it.
    const auto before = ALL.Image;
    auto swap = [](int a, int b) { Rearrange({a, b}, {b, a}); };
    if (step < 0)
        for (int n : channels)
            swap(n - 1, n);
    else
        for (auto it = channels.rbegin(); it != channels.rend(); ++it)
            swap(*it, *it + 1);
    return ALL.Image != before;
}

bool InsertEmptyChannel(int at)
{
    const int last = std::min(ALL.ChannelCount, kMaxChannels);
    if (!IsChannel(at) || DecodeChannel(last, Channel))
        return false;
    std::vector<int> from;
    std::vector<int> to;
    for (int n = at; n < last; ++n) {
        from.push_back(n);
        to.push_back(n + 1);
    }
    from.push_back(last);
    to.push_back(at);
    return Rearrange(from, to);
}

bool FillDown(int field, std::span<const int> channels)
{
    const ChannelField* info = FindChannelField(field);
    TChannel source;
    if (!info || !AllChannels(channels) || !DecodeChannel(channels.front(), source))
        return false;
    const std::string value = ChannelFieldValue(*info, source);
    const auto before = ALL.Image;
    for (int n : channels.subspan(1)) {
        TChannel target;
        if (DecodeChannel(n, target))
            EncodeChannelField(n, field, value);
        else if (field == kRxField)
            InitChannel(n, value);
    }
    return ALL.Image != before;
}

bool SortByRxFrequency(std::span<const int> channels)
{
    if (!AllChannels(channels))
        return false;
    std::vector<int> from(channels.begin(), channels.end());
    auto key = [](int n) {
        TChannel c;
        return DecodeChannel(n, c) ? c.RxFreq : 1e12;
    };
    std::stable_sort(from.begin(), from.end(), [&key](int a, int b) { return key(a) < key(b); });
    return Rearrange(from, std::vector<int>(channels.begin(), channels.end()));
}
