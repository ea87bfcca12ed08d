// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/IniFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>

#include "base/AtomicFile.h"
#include "base/TextEncoding.h"
#include "base/Utf8Path.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kBom = "\xEF\xBB\xBF";
// U+FEFF in GB18030: marks a GB18030 file whose bytes are also valid UTF-8.
constexpr std::string_view kGbSignature = "\x84\x31\x95\x33";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// What one line of an INI file is.
struct ParsedLine {
    enum Kind { Other, Section, Key } kind = Other;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // for keys: trimmed, enclosing quotes removed
};

ParsedLine ParseLine(std::string_view line)
{
    ParsedLine p;
    std::string_view s = Trim(line);
    if (s.empty() || s.front() == ';')
        return p; // blank line or comment
    if (s.front() == '[') {
        // "[name]"; anything after the closing bracket is ignored, and a
        // header without one takes the rest of the line as the name.
        s.remove_prefix(1);
        size_t close = s.find(']');
        p.kind = ParsedLine::Section;
        p.name = Trim(s.substr(0, close));
        return p;
    }
    size_t eq = s.find('=');
    if (eq == std::string_view::npos)
        return p; // neither a section nor a key: not visible to readers
    p.kind = ParsedLine::Key;
    p.name = Trim(s.substr(0, eq));
    std::string_view value = Trim(s.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    p.value = value;
    return p;
}

std::string SystemMessage(int err)
{
    return std::error_code(err, std::generic_category()).message();
}

} // namespace

TIniFile::LoadResult TIniFile::TooLargeFailure(std::string* error)
{
    tooLarge_ = true;
    if (error)
        *error = "cannot read " + path_ + ": it is larger than 1 MiB";
    return LoadResult::Failed;
}

TIniFile::TIniFile(std::string path) : path_(std::move(path))
{
    Load(nullptr);
}

TIniFile::LoadResult TIniFile::Load(std::string* error)
{
    lines_.clear();
    rawLines_.clear();
    lineEnds_.clear();
    lineEnd_ = "\n";
    hadBom_ = false;
    hadGbSignature_ = false;
    legacyEncoding_ = false;
    tooLarge_ = false;

    std::error_code ec;
    const fs::path file = PathFromUtf8(path_);
    fs::file_status st = fs::status(file, ec);
    if (st.type() == fs::file_type::not_found)
        return LoadResult::Missing;
    if (ec || fs::is_directory(st)) {
        if (error)
            *error = "cannot read " + path_ + ": " + (ec ? ec.message() : std::string("it is a folder"));
        return LoadResult::Failed;
    }
    if (fs::is_regular_file(st)) {
        std::uintmax_t size = fs::file_size(file, ec);
        if (!ec && size > kMaxFileSize)
            return TooLargeFailure(error);
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        if (error)
            *error = "cannot open " + path_ + ": " + SystemMessage(errno);
        return LoadResult::Failed;
    }
    // At most one byte more than a file may hold, whatever the file is (a
    // device or a FIFO never ends).
    std::string bytes;
    char chunk[16384];
    while (bytes.size() <= kMaxFileSize && in.read(chunk, sizeof chunk).gcount() > 0)
        bytes.append(chunk, static_cast<size_t>(in.gcount()));
    if (in.bad()) {
        if (error)
            *error = "cannot read " + path_;
        return LoadResult::Failed;
    }
    if (bytes.size() > kMaxFileSize)
        return TooLargeFailure(error);

    std::string_view text = bytes;
    if (text.substr(0, kBom.size()) == kBom) {
        hadBom_ = true;
        text.remove_prefix(kBom.size());
    } else if (text.substr(0, kGbSignature.size()) == kGbSignature) {
        hadGbSignature_ = true;
        text.remove_prefix(kGbSignature.size());
    }
    legacyEncoding_ = hadGbSignature_ || !IsValidUtf8(text);

    // Lines end at LF; a CR before it belongs to the line end. In GB18030
    // neither byte occurs inside a character, so the file can be split
    // before it is decoded.
    bool endSeen = false;
    while (!text.empty()) {
        size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        std::string end;
        if (lf != std::string_view::npos) {
            end = "\n";
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
                end = "\r\n";
            }
            if (!endSeen) {
                lineEnd_ = end;
                endSeen = true;
            }
            text.remove_prefix(lf + 1);
        } else {
            // A CR at the very end is the start of a line end whose LF was
            // lost; a line added after it completes it.
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
                end = "\r";
            }
            text = {};
        }
        rawLines_.emplace_back(line);
        lineEnds_.push_back(std::move(end));
        lines_.push_back(legacyEncoding_ ? Gb18030ToUtf8(line) : std::string(line));
    }
    return LoadResult::Loaded;
}

size_t TIniFile::FindLine(const std::string& section, const std::string& key) const
{
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        ParsedLine p = ParseLine(lines_[i]);
        if (p.kind == ParsedLine::Section)
            inSection = SameName(p.name, section);
        else if (p.kind == ParsedLine::Key && inSection && SameName(p.name, key))
            return i;
    }
    return std::string::npos;
}

std::optional<std::string> TIniFile::Find(const std::string& section, const std::string& key) const
{
    size_t i = FindLine(section, key);
    if (i == std::string::npos)
        return std::nullopt;
    return std::string(ParseLine(lines_[i]).value);
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const
{
    return Find(section, key).value_or(defaultValue);
}

std::string TIniFile::Encode(const std::string& utf8) const
{
    return legacyEncoding_ ? Utf8ToGb18030(utf8) : utf8;
}

bool TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value,
                           std::string* error)
{
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    auto hasLineBreak = [](const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; };
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value))
        return fail("a line break cannot be written into an INI file");
    // A name is read back trimmed, so one with blanks at its ends would
    // never be found again.
    if (section.find(']') != std::string::npos || Trim(section) != section)
        return fail("not a usable section name: \"" + section + "\"");
    if (key.empty() || Trim(key) != key || key.find('=') != std::string::npos || key.front() == ';' ||
        key.front() == '[')
        return fail("not a usable key name: \"" + key + "\"");

    // Text that is not UTF-8 would turn a UTF-8 file into one read as
    // GB18030: its ill-formed bytes are written as '?', as they are into a
    // GB18030 file.
    if (!IsValidUtf8(section) || !IsValidUtf8(key) || !IsValidUtf8(value))
        return WriteString(ValidUtf8(section), ValidUtf8(key), ValidUtf8(value), error);

    // Work on the file as it is on disk now, so that nothing written by
    // someone else since this object read it is lost.
    if (Load(error) == LoadResult::Failed)
        return false;

    std::vector<std::string> lines = lines_;
    std::vector<std::string> raw = rawLines_;
    std::vector<std::string> ends = lineEnds_;
    auto insertLine = [&](size_t at, const std::string& text) {
        if (at > 0 && ends[at - 1].empty())
            ends[at - 1] = lineEnd_; // the old last line had no line end
        else if (at > 0 && ends[at - 1] == "\r")
            ends[at - 1] = "\r\n";
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), text);
        raw.insert(raw.begin() + static_cast<std::ptrdiff_t>(at), Encode(text));
        ends.insert(ends.begin() + static_cast<std::ptrdiff_t>(at), lineEnd_);
    };

    size_t keyLine = FindLine(section, key);
    if (keyLine != std::string::npos) {
        // Keep the line up to its '=' as it was and put the new value behind.
        // '=' never occurs inside a GB18030 character either.
        size_t eq = lines[keyLine].find('=');
        lines[keyLine] = lines[keyLine].substr(0, eq + 1) + value;
        raw[keyLine] = raw[keyLine].substr(0, raw[keyLine].find('=') + 1) + Encode(value);
    } else {
        size_t header = std::string::npos;
        for (size_t i = 0; i < lines.size() && header == std::string::npos; ++i) {
            ParsedLine p = ParseLine(lines[i]);
            if (p.kind == ParsedLine::Section && SameName(p.name, section))
                header = i;
        }
        std::string keyText = key + "=" + value;
        if (header == std::string::npos) {
            insertLine(lines.size(), "[" + section + "]");
            insertLine(lines.size(), keyText);
        } else {
            // After the last line of the section that is not blank, so that
            // blank lines before the next section stay where they are.
            size_t at = header + 1;
            for (size_t i = header + 1; i < lines.size(); ++i) {
                ParsedLine p = ParseLine(lines[i]);
                if (p.kind == ParsedLine::Section)
                    break;
                if (!Trim(lines[i]).empty())
                    at = i + 1;
            }
            insertLine(at, keyText);
        }
    }

    std::string body;
    for (size_t i = 0; i < raw.size(); ++i) {
        body += raw[i];
        body += ends[i];
    }
    // A GB18030 file whose bytes have become valid UTF-8 (its only other
    // non-ASCII text was the value replaced) would read as UTF-8 next time.
    auto nonAscii = [](std::string_view s) {
        return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    };
    const bool gbSignature = hadGbSignature_ || (legacyEncoding_ && nonAscii(body) && IsValidUtf8(body));
    std::string bytes;
    if (gbSignature)
        bytes += kGbSignature;
    else if (hadBom_)
        bytes += kBom;
    bytes += body;
    if (std::error_code written = ReplaceFileAtomically(path_, bytes))
        return fail("cannot write " + path_ + ": " + written.message());

    lines_ = std::move(lines);
    rawLines_ = std::move(raw);
    lineEnds_ = std::move(ends);
    return true;
}
