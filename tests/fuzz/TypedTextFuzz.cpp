// SPDX-License-Identifier: GPL-3.0-or-later
// The texts a user types or a file holds where a number, a tone, DTMF
// digits, a time stamp, a port name or an identification is expected. What
// a check gives back is stored and shown again unchanged, and every number
// text the program formats reads back.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "base/NumberText.h"
#include "core/State.h"
#include "image/ChannelCodec.h"
#include "image/DtmfDigits.h"
#include "image/Stamp.h"
#include "link/IdentBlock.h"
#include "link/PortNames.h"

namespace {

void CheckNumbers(const uint8_t* data, size_t size)
{
    if (size < 10)
        return;
    double value;
    std::memcpy(&value, data, sizeof value);
    const int decimals = data[8] % 12, minIntDigits = data[9] % 12;
    const std::string text = FormatFixed(value, decimals, minIntDigits);
    std::optional<double> back = ParseNumber(text);
    FUZZ_CHECK(back);
    if (std::isfinite(value) && std::fabs(value) < 1e15)
        FUZZ_CHECK(std::fabs(*back - value) <= 0.5 * std::pow(10.0, -decimals) + std::fabs(value) * 1e-13);
}

// A stamp as the program writes it ("yyyy-MM-dd HH:mm:ss") shows as written.
void CheckStamp(const uint8_t* data, size_t size)
{
    if (size < 7)
        return;
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", 1000 + (data[0] + 256 * data[1]) % 9000,
                  data[2] % 100, data[3] % 100, data[4] % 100, data[5] % 100, data[6] % 100);
    const size_t at = kImageSize - 16;
    std::fill_n(ALL.Image.begin() + static_cast<long>(at), 16, 0);
    EncodeStamp(at, text);
    FUZZ_CHECK(FormatStamp(ALL.Image.data() + at) == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(AsText(data, size));

    // A checked frequency is stored and shown as it was checked, and a
    // second check keeps it.
    const std::string frequency = CheckFrequencyText(text);
    const Bcd4 bcd = FreqToBcd(frequency);
    std::optional<double> stored = BcdToFreq(bcd.data());
    FUZZ_CHECK(stored);
    FUZZ_CHECK(FormatFrequency(*stored) == frequency);
    FUZZ_CHECK(CheckFrequencyText(frequency) == frequency);

    // A checked tone is stored and shown as it was checked.
    const std::string tone = CheckToneText(text);
    if (!tone.empty()) {
        std::array<uint8_t, 2> code = ToneToCode(tone);
        FUZZ_CHECK(CodeToTone(code[0], code[1]) == tone);
    }

    // DTMF digits: what an edit shows, stored again, shows the same.
    for (const DtmfStringField& field : DtmfStringFields()) {
        StoreDtmfString(field, text);
        const std::string shown = DtmfStringText(field);
        StoreDtmfString(field, shown);
        FUZZ_CHECK(DtmfStringText(field) == shown);
    }

    if (std::optional<int> port = PortNumberOf(text))
        FUZZ_CHECK(PortNumberOf(PortName(*port)) == port);

    IdentBlock block;
    FUZZ_CHECK(BuildIdentBlock(text, block) == IdentResponse(block));
    FUZZ_CHECK(block[15] == IdentCheckByte(block));

    CheckNumbers(data, size);
    CheckStamp(data, size);
    return 0;
}
