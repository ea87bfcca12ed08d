// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/ChannelFields.h"

#include <algorithm>
#include <array>

#include "image/ChannelCodec.h"

namespace {
// Every per-channel field in field-number order. The codec takes record
// positions and masks from here, the grid its combo names and items, and the
// dump its keys: nothing of this is repeated elsewhere. Built on first use,
// so callers from other static initialisers never see it unbuilt.
const std::array<ChannelField, 10>& FieldTable()
{
    static const std::array<ChannelField, 10> table = {{
        {2, ChannelFieldKind::RxFrequency, "", "rx", 0, 0x00, {}, nullptr},
        {3, ChannelFieldKind::TxFrequency, "", "tx", 4, 0x00, {}, nullptr},
        {4, ChannelFieldKind::RxTone, "cxDcts", "rx_tone", 8, 0x00, {}, nullptr},
        {5, ChannelFieldKind::TxTone, "cxDcts", "tx_tone", 10, 0x00, {}, nullptr},
        {6, ChannelFieldKind::Flag, "cxPwrv", "power", kFlagsByte, 0x01, {"Low", "High"}, &TChannel::Power},
        {7, ChannelFieldKind::Flag, "cxBand", "bandwidth", kFlagsByte, 0x08, {"Narrow", "Wide"}, &TChannel::Bandwidth},
        {8, ChannelFieldKind::Flag, "cxScan", "scan_add", kFlagsByte, 0x10, {"Add", "Del"}, &TChannel::ScanAdd},
        {9, ChannelFieldKind::Flag, "cxBclo", "busy_lock", kFlagsByte, 0x04, {"Yes", "No"}, &TChannel::BusyLock},
        {10, ChannelFieldKind::Flag, "cxTail", "epilogue", kFlagsByte, 0x02, {"Off", "On"}, &TChannel::Tail},
        {13,
         ChannelFieldKind::PttId,
         "cxPtts",
         "ptt_id",
         kFlagsByte,
         0x60,
         {"Off", "BOT", "EOT", "Both"},
         &TChannel::PttId},
    }};
    return table;
}

// CTCSS tones in hertz, in the order the tone combo lists them.
constexpr std::array<const char*, 50> kCtcssTones = {
    "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",  "94.8",  "97.4",  "100.0",
    "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3", "131.8", "136.5", "141.3", "146.2", "151.4", "156.7",
    "159.8", "162.2", "165.5", "167.9", "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6",
    "199.5", "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1",
};

// DCS codes (three octal digits), in list order.
constexpr std::array<const char*, 105> kDcsCodes = {
    "023", "025", "026", "031", "032", "036", "043", "047", "050", "051", "053", "054", "065", "071", "072",
    "073", "074", "114", "115", "116", "122", "125", "131", "132", "134", "145", "146", "152", "155", "156",
    "162", "165", "172", "174", "205", "212", "223", "225", "226", "243", "244", "245", "246", "251", "252",
    "255", "261", "263", "265", "266", "271", "274", "306", "311", "315", "325", "331", "332", "343", "346",
    "351", "356", "364", "365", "371", "411", "412", "413", "423", "431", "432", "445", "446", "452", "454",
    "455", "462", "464", "465", "466", "503", "506", "516", "523", "532", "546", "565", "606", "612", "624",
    "627", "631", "632", "645", "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754",
};

std::vector<std::string> BuildToneList()
{
    std::vector<std::string> list;
    list.reserve(kCtcssTones.size() + 2 * kDcsCodes.size());
    for (const char* tone : kCtcssTones)
        list.push_back(tone);
    for (const char* polarity : {"N", "I"})
        for (const char* code : kDcsCodes)
            list.push_back(std::string("D") + code + polarity);
    return list;
}
}

std::string ColumnTitleOf(const std::string& value)
{
    size_t at = value.find('@');
    std::string title = at == std::string::npos ? value : value.substr(at + 1);
    std::replace(title.begin(), title.end(), '|', ' ');
    return title;
}

std::span<const ChannelField> ChannelFields()
{
    return FieldTable();
}

const ChannelField* FindChannelField(int number)
{
    for (const ChannelField& f : FieldTable())
        if (f.number == number)
            return &f;
    return nullptr;
}

std::string ChannelFieldText(const ChannelField& field, const TChannel& c)
{
    switch (field.kind) {
    case ChannelFieldKind::RxFrequency:
        return FormatFrequency(c.RxFreq);
    case ChannelFieldKind::TxFrequency:
        return c.TxFreq < 0 ? std::string() : FormatFrequency(c.TxFreq);
    case ChannelFieldKind::RxTone:
        return c.RxTone;
    case ChannelFieldKind::TxTone:
        return c.TxTone;
    case ChannelFieldKind::Flag:
    case ChannelFieldKind::PttId:
        break;
    }
    size_t index = c.*(field.member);
    return index < field.items.size() ? field.items[index] : std::string();
}

const std::vector<std::string>& ToneList()
{
    static const std::vector<std::string> list = BuildToneList();
    return list;
}
