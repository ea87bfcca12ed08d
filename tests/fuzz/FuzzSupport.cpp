// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzSupport.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "app/Startup.h"
#include "core/State.h"
#include "settings/MsgBox.h"

const std::string& FuzzFolder()
{
    // Never destroyed, so the clean-up at exit can still name it.
    static const std::string& folder = *new std::string([] {
        // In memory where the system offers it: every save syncs its file,
        // which on a disk would take most of the time of an input.
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "qv300-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        // Gone when the run ends (not after a crash, which leaves it to see).
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(FuzzFolder(), ignored);
        });
        return pattern;
    }());
    return folder;
}

namespace {
void StartFuzzProgram()
{
    SetMsgBoxHandler([](const std::string&, const std::string&, int kind) {
        return kind == kMsgQuestion ? static_cast<int>(kMsgNo) : static_cast<int>(kMsgOk);
    });
    DataModuleCreate(FuzzFolder());
    StartFirstDocument();
}
} // namespace

// libFuzzer calls this once before the first input of every target.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    StartFuzzProgram();
    return 0;
}
