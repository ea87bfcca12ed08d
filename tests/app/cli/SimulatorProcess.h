// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The simulated radio as a child process, for the tests that run qv300-cli
// against it.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "TestSupport.h"

extern char** environ;

// The simulator as a child process: started with its options, its
// pseudo-terminal read from the first line it prints, stopped at the end.
class Simulator {
public:
    Simulator(const TempDir& dir, std::vector<std::string> options)
    {
        const char* sim = std::getenv("QV300_RADIO_SIM");
        std::vector<std::string> args = {sim ? sim : "qv300-radio-sim"};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);

        int out[2];
        if (pipe(out) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::string errFile = dir.file("sim-stderr.txt");
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        out_ = fdopen(out[0], "r");
        char line[256] = {};
        if (out_ && fgets(line, sizeof line, out_)) {
            path_ = line;
            while (!path_.empty() && (path_.back() == '\n' || path_.back() == '\r'))
                path_.pop_back();
        }
    }
    ~Simulator()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int status = 0;
            waitpid(pid_, &status, 0);
        }
        if (out_)
            fclose(out_);
    }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;
    // The pseudo-terminal the program is to use.
    const std::string& path() const { return path_; }
    // The next line it prints: with --radios, the next radio's line.
    std::string NextLine()
    {
        char line[256] = {};
        std::string text = out_ && fgets(line, sizeof line, out_) ? line : "";
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        return text;
    }

private:
    pid_t pid_ = -1;
    FILE* out_ = nullptr;
    std::string path_;
};
