// SPDX-License-Identifier: GPL-3.0-or-later
// A CHIRP channel list as File > Import takes it. A list refused as a whole
// leaves the document alone; whatever was taken exports to a list that
// imports at its Locations into a new document without a refusal and
// exports the same again.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "app/Startup.h"
#include "core/State.h"
#include "image/formats/ChirpCsv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    StartFirstDocument();
    const auto before = ALL.Image;
    ChirpCsvOptions options;
    options.keepLocations = size > 0 && (data[0] & 1) != 0;
    options.replaceChannels = true;
    const ChirpCsvReport report = ChirpCsvToDocument(AsText(data, size), options);
    if (!report.Ok()) {
        FUZZ_CHECK(ALL.Image == before);
        return 0;
    }
    FUZZ_CHECK(report.taken >= 0 && report.taken <= 16);

    const std::string exported = DocumentToChirpCsv();
    StartFirstDocument();
    ChirpCsvOptions again;
    again.keepLocations = true; // the export's Locations are the channels
    again.replaceChannels = true;
    const ChirpCsvReport reimport = ChirpCsvToDocument(exported, again);
    FUZZ_CHECK(reimport.Ok() && reimport.refused.empty());
    FUZZ_CHECK(reimport.taken == report.taken);
    FUZZ_CHECK(DocumentToChirpCsv() == exported);
    return 0;
}
