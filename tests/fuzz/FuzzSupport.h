// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every fuzz target shares: the program started once in a scratch
// folder, messages kept quiet, and a check that stops the run with a report
// when a property does not hold.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// The scratch folder the program was started in (its AppPath), made on the
// first call; the language and settings files are looked for there.
const std::string& FuzzFolder();

// Before the first input, every target starts the program's state
// (catalogue, first document) in FuzzFolder(), with every message box
// answered at once without a word.

// The input as text.
inline std::string_view AsText(const uint8_t* data, size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// A broken property: the report, then an abort libFuzzer saves the input of.
#define FUZZ_CHECK(condition)                                                                            \
    do {                                                                                                 \
        if (!(condition)) {                                                                              \
            std::fprintf(stderr, "%s:%d: property does not hold: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                                \
        }                                                                                                \
    } while (false)
