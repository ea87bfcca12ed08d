// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of the test support that are POSIX: the scratch folder by
// mkdtemp, the command line run through the shell, a disk that fills.
#include "TestSupport.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "qv300-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

CliRun Cli(const TempDir& dir, const std::string& args)
{
    const char* cli = std::getenv("QV300_CLI");
    std::string errFile = dir.file("cli-stderr.txt");
    std::string command = Quote(cli ? cli : "qv300-cli") + " " + args + " 2>" + Quote(errFile) + " </dev/null";
    CliRun run;
    auto start = std::chrono::steady_clock::now();
    FILE* p = popen(command.c_str(), "r");
    if (!p)
        return run;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        run.out.append(buf, n);
    int status = pclose(p);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadAll(errFile);
    return run;
}

DiskFullAfter::DiskFullAfter(unsigned long bytes)
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    previous_ = limit.rlim_cur;
    std::signal(SIGXFSZ, SIG_IGN); // a failed write, not a killed process
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

DiskFullAfter::~DiskFullAfter()
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = previous_;
    setrlimit(RLIMIT_FSIZE, &limit);
}
