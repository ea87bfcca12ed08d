#include "app/cli/Dump.h"

#include "app/State.h"
#include "image/ChannelCodec.h"
#include "image/ChannelFields.h"
#include "image/Stamp.h"

using nlohmann::ordered_json;

namespace {
ordered_json DumpChannel(int n, const TChannel& c)
{
    ordered_json row;
    row["number"] = n;
    for (const ChannelField& f : ChannelFields()) {
        // A record without TX frequency has null there, not an empty text.
        if (f.kind == ChannelFieldKind::TxFrequency && c.TxFreq < 0)
            row[f.jsonKey] = nullptr;
        else
            row[f.jsonKey] = ChannelFieldText(f, c);
    }
    return row;
}
}

ordered_json DumpDocument(const FileHeaderTexts& header)
{
    ordered_json doc;
    doc["model_code"] = header.ModelCode;
    doc["family_code"] = header.FamilyCode;
    doc["area_code"] = header.AreaCode;
    doc["model_name"] = ALL.ModelName;
    doc["band"] = ALL.BandText;
    doc["write_time"] = FormatStamp(ALL.Image.data() + kWriteStamp);
    doc["factory_time"] = FormatStamp(ALL.Image.data() + kFactoryStamp);
    doc["serial_number"] = SerialNumberText(ALL.Image.data() + kSerialNumber);
    ordered_json channels = ordered_json::array();
    for (int n = 1; n <= ALL.ChannelCount && n <= kMaxChannels; ++n) {
        if (DecodeChannel(n, Channel))
            channels.push_back(DumpChannel(n, Channel));
    }
    doc["channels"] = std::move(channels);
    return doc;
}
