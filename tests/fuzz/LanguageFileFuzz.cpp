// SPDX-License-Identifier: GPL-3.0-or-later
// A language file as the program loads it: whatever its bytes, every text
// of the message table is valid UTF-8, and text that is valid UTF-8 goes
// through GB18030 and back unchanged.
#include <cstdint>
#include <fstream>
#include <string>

#include "FuzzSupport.h"
#include "base/TextEncoding.h"
#include "core/State.h"
#include "settings/Language.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes = AsText(data, size);
    const std::string decoded = Gb18030ToUtf8(bytes);
    FUZZ_CHECK(IsValidUtf8(decoded));
    if (IsValidUtf8(bytes))
        FUZZ_CHECK(Gb18030ToUtf8(Utf8ToGb18030(bytes)) == bytes);

    std::ofstream(LanguageFilePath("Fuzz"), std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    LoadLanguage("Fuzz");
    for (const MessageKey& m : kMessageKeys)
        FUZZ_CHECK(IsValidUtf8(Language.*m.field));
    FUZZ_CHECK(IsValidUtf8(Language.Locale));
    return 0;
}
