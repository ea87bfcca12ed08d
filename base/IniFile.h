// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// INI files with the rules of the Windows private-profile functions that the
// settings and language files were made for: section and key names match
// without regard to ASCII case, a value is the rest of the line with blanks
// trimmed and one pair of enclosing double quotes removed, the first
// matching key wins, and writing one key keeps every other line as it was.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class TIniFile {
public:
    // A settings or language file is a few KiB; a larger file is refused
    // (it reads as empty and is not written), so a device or a runaway file
    // is never read without limit.
    static constexpr size_t kMaxFileSize = size_t{1} << 20;

    // Reads the whole file once. A missing, unreadable or too large file
    // reads as empty. Text is taken as UTF-8 when it is valid UTF-8,
    // otherwise as GB18030 (a file made on a Chinese Windows) and converted
    // to UTF-8. A file that starts with the GB18030 signature (U+FEFF in
    // GB18030) is GB18030 whatever its bytes.
    explicit TIniFile(std::string path);

    const std::string& Path() const { return path_; }
    // The file was larger than kMaxFileSize when it was last read.
    bool TooLarge() const { return tooLarge_; }
    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    std::optional<std::string> Find(const std::string& section, const std::string& key) const;

    // Sets the key in the file on disk at once: replaces the value of the
    // first matching key, or adds the key at the end of the section, or adds
    // the section at the end of the file; creates the file when missing.
    // Returns false (with the system's reason in *error) when it cannot write.
    // A file keeps its encoding: when a GB18030 file would otherwise read
    // as UTF-8 afterwards, it is written with the GB18030 signature, and
    // bytes of the arguments that are not UTF-8 are written as '?'.
    bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                     std::string* error = nullptr);

private:
    enum class LoadResult { Loaded, Missing, Failed };
    LoadResult Load(std::string* error);
    LoadResult TooLargeFailure(std::string* error);
    // Index of the line holding the first matching key, or npos.
    size_t FindLine(const std::string& section, const std::string& key) const;
    std::string Encode(const std::string& utf8) const;

    std::string path_;
    std::vector<std::string> lines_; // UTF-8, without line ends
    // The same lines as the bytes on disk, each with its own line end ("" for
    // a last line without one), so that a write keeps untouched lines exact.
    std::vector<std::string> rawLines_;
    std::vector<std::string> lineEnds_;
    std::string lineEnd_ = "\n"; // for lines the program adds
    bool hadBom_ = false;
    bool hadGbSignature_ = false;
    bool legacyEncoding_ = false; // the file on disk is GB18030
    bool tooLarge_ = false;
};
