// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of the test support that differ on Windows: the scratch folder.
// The command line's runs and the filling disk are Linux only, as are the
// tests that use them.
#include "TestSupport.h"

#include <random>
#include <stdexcept>
#include <system_error>

TempDir::TempDir()
{
    // A new folder of a name nobody has: create_directory says whether it
    // made the folder or found it there.
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate = std::filesystem::temp_directory_path() /
                                                ("qv300-test-" + std::to_string(random() % 1000000000u));
        std::error_code ec;
        if (std::filesystem::create_directory(candidate, ec)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}
