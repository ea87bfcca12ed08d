// SPDX-License-Identifier: GPL-3.0-or-later
// An INI file read, one key written, and the file read again: the written
// value reads back as written, every other key keeps its value, and a write
// that is refused leaves the file's bytes alone.
//
// The input is the file, optionally followed by NUL, section, NUL, key, NUL,
// value; without them the port of the settings file is written.
#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "base/IniFile.h"
#include "base/TextEncoding.h"

namespace {

std::string_view TrimBlanksOnly(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool SameAsciiName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool IsAscii(std::string_view s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// The section and key names of the file that are plain ASCII (so they name
// the same key in either encoding), as a reader sees them.
std::vector<std::pair<std::string, std::string>> AsciiKeys(std::string_view text)
{
    std::vector<std::pair<std::string, std::string>> keys;
    std::string section;
    bool usable = false;
    while (!text.empty()) {
        size_t lf = text.find('\n');
        std::string_view line = TrimBlanksOnly(text.substr(0, lf));
        text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
        if (!line.empty() && line.back() == '\r')
            line = TrimBlanksOnly(line.substr(0, line.size() - 1));
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            std::string_view name = TrimBlanksOnly(line.substr(1, line.find(']') - 1));
            usable = IsAscii(name);
            section = name;
        } else if (size_t eq = line.find('='); eq != std::string_view::npos && usable) {
            std::string_view key = TrimBlanksOnly(line.substr(0, eq));
            if (IsAscii(key))
                keys.emplace_back(section, key);
        }
    }
    return keys;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A value the INI rules give back unchanged: valid UTF-8 without line
// breaks, no blanks at either end, not enclosed in double quotes.
bool ReadsBackUnchanged(std::string_view value)
{
    return IsValidUtf8(value) && value.find_first_of("\r\n") == std::string_view::npos &&
           TrimBlanksOnly(value) == value && !(value.size() >= 2 && value.front() == '"' && value.back() == '"');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view input = AsText(data, size);
    std::string_view file = input;
    std::string section = "SysInfo", key = "Com", value = "COM3";
    size_t third = input.rfind('\0'), second = std::string_view::npos, first = std::string_view::npos;
    if (third != std::string_view::npos && third > 0)
        second = input.rfind('\0', third - 1);
    if (second != std::string_view::npos && second > 0)
        first = input.rfind('\0', second - 1);
    if (first != std::string_view::npos) {
        file = input.substr(0, first);
        section = input.substr(first + 1, second - first - 1);
        key = input.substr(second + 1, third - second - 1);
        value = input.substr(third + 1);
    }

    const std::string path = FuzzFolder() + "/fuzz.ini";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(file.data(), static_cast<std::streamsize>(file.size()));

    const TIniFile before(path);
    std::vector<std::pair<std::string, std::string>> keys = AsciiKeys(file);
    // Each lookup reads the whole file: a sample of keys spread over it
    // keeps a large file from taking quadratic time.
    constexpr size_t kSampled = 32;
    if (keys.size() > kSampled) {
        std::vector<std::pair<std::string, std::string>> sample;
        for (size_t i = 0; i < kSampled; ++i)
            sample.push_back(keys[i * keys.size() / kSampled]);
        keys = std::move(sample);
    }
    std::vector<std::optional<std::string>> values;
    for (const auto& [s, k] : keys)
        values.push_back(before.Find(s, k));

    TIniFile writer(path);
    if (!writer.WriteString(section, key, value)) {
        FUZZ_CHECK(ReadBytes(path) == file);
        return 0;
    }
    const TIniFile after(path);
    // Names that are not UTF-8 are written with '?' for their bad bytes.
    const std::string writtenSection = ValidUtf8(section), writtenKey = ValidUtf8(key);
    for (size_t i = 0; i < keys.size(); ++i)
        if (!(SameAsciiName(keys[i].first, writtenSection) && SameAsciiName(keys[i].second, writtenKey)))
            FUZZ_CHECK(after.Find(keys[i].first, keys[i].second) == values[i]);
    if (ReadsBackUnchanged(value) && IsValidUtf8(section) && IsValidUtf8(key) && TrimBlanksOnly(section) == section &&
        TrimBlanksOnly(key) == key)
        FUZZ_CHECK(after.Find(section, key) == value);
    return 0;
}
