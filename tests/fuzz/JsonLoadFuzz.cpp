// SPDX-License-Identifier: GPL-3.0-or-later
// JSON as `qv300-cli load` takes it. A text with a fault leaves the whole
// document alone; a text that was taken dumps to JSON that loads onto the
// document again without changing a byte.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "app/Startup.h"
#include "core/State.h"
#include "image/formats/JsonDump.h"
#include "image/formats/JsonLoad.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    StartFirstDocument();
    const auto before = ALL.Image;
    const std::string model = ALL.ModelCode, band = ALL.BandText, area = ALL.AreaCode;
    const JsonLoadReport report = JsonToDocument(AsText(data, size));
    if (!report.Ok()) {
        FUZZ_CHECK(ALL.Image == before);
        FUZZ_CHECK(ALL.ModelCode == model && ALL.BandText == band && ALL.AreaCode == area);
        return 0;
    }

    const std::string dumped = DocumentToJson(report.header);
    const auto loaded = ALL.Image;
    const JsonLoadReport again = JsonToDocument(dumped);
    FUZZ_CHECK(again.Ok());
    FUZZ_CHECK(ALL.Image == loaded);
    FUZZ_CHECK(DocumentToJson(again.header) == dumped);
    return 0;
}
