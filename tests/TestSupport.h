// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers shared by the tests: a scratch folder, a fresh start of the
// program's state in it, and a recorder for message boxes.
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

// The tests start a run as the programs do (DataModuleCreate,
// StartFirstDocument), whatever folder they test.
#include "app/Startup.h"
#include "link/PortNames.h"
#include "settings/MsgBox.h"

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // path() + name, as a string
    std::string file(const std::string& name) const;
    // Writes bytes to a file in the folder and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

std::string ReadAll(const std::string& path);

// Runs the program's start-up with `appPath` as the executable's folder, so
// the settings and language files are looked for there.
void StartFresh(const std::string& appPath);

struct ShownMessage {
    std::string caption;
    std::string text;
    int kind;
};

// Records every MsgBox while it lives; questions are answered from the
// queue of answers, or with `defaultAnswer` when it is empty.
class MessageRecorder {
public:
    explicit MessageRecorder(int defaultAnswer = kMsgNo);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<ShownMessage> shown;
    std::deque<int> answers;
    std::vector<std::string> texts() const;

private:
    MsgBoxHandler previous_;
    int defaultAnswer_;
};

// A machine whose serial devices are the paths listed, each of which opens.
class ListedPorts : public TPortSystem {
public:
    std::vector<std::string> devices;
    std::vector<std::string> DevicePaths() override { return devices; }
    bool CanOpen(const std::string& path) override;
};

// A text as one word for the shell, in single quotes.
std::string Quote(const std::string& s);
// How many times `part` stands in `text`, overlaps included.
size_t Occurrences(const std::string& text, const std::string& part);

// One run of qv300-cli (QV300_CLI, or from the PATH) with `args` as the
// shell gives them, stdin empty; stderr goes through a file in `dir`.
struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
    double seconds = 0;
};
CliRun Cli(const TempDir& dir, const std::string& args);

// A disk that fills after `bytes` for this process and those it starts
// (no file grows past it; a write beyond fails with EFBIG), until the end
// of the scope.
class DiskFullAfter {
public:
    explicit DiskFullAfter(unsigned long bytes);
    ~DiskFullAfter();
    DiskFullAfter(const DiskFullAfter&) = delete;
    DiskFullAfter& operator=(const DiskFullAfter&) = delete;

private:
    unsigned long previous_;
};
