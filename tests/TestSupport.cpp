// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "core/State.h"

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& name) const
{
    return (path_ / name).string();
}

std::string TempDir::write(const std::string& name, const std::string& bytes) const
{
    std::string p = file(name);
    std::ofstream out(p, std::ios::binary);
    out << bytes;
    return p;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void StartFresh(const std::string& appPath)
{
    DataModuleCreate(appPath);
}

MessageRecorder::MessageRecorder(int defaultAnswer) : defaultAnswer_(defaultAnswer)
{
    previous_ = SetMsgBoxHandler([this](const std::string& caption, const std::string& text, int kind) {
        shown.push_back({caption, text, kind});
        if (kind != kMsgQuestion)
            return static_cast<int>(kMsgOk);
        if (answers.empty())
            return defaultAnswer_;
        int a = answers.front();
        answers.pop_front();
        return a;
    });
}

MessageRecorder::~MessageRecorder()
{
    SetMsgBoxHandler(previous_);
}

std::vector<std::string> MessageRecorder::texts() const
{
    std::vector<std::string> out;
    for (const auto& m : shown)
        out.push_back(m.text);
    return out;
}

std::string Quote(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

bool ListedPorts::CanOpen(const std::string& path)
{
    return std::find(devices.begin(), devices.end(), path) != devices.end();
}

size_t Occurrences(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}
