// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two facts of this computer that the identification string is built
// from, read with ordinary unprivileged means.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

struct MachineFacts {
    std::string diskSerial; // serial number of the first fixed disk; empty when unknown
    // EAX, EBX, ECX, EDX of the processor identification's feature leaf, with
    // the bits that change from core to core cleared; nullopt when the
    // processor has no such instruction.
    std::optional<std::array<uint32_t, 4>> cpuRegisters;
    bool readError = false; // reading failed part-way
};

// Reads the facts of this computer (cached after the first call): the disk
// from sysfs on Linux, from the first physical drive's storage properties
// on Windows.
const MachineFacts& ThisMachine();
// The processor's registers of MachineFacts::cpuRegisters.
std::optional<std::array<uint32_t, 4>> ReadCpuRegisters();
// The same, reading disk information below `sysRoot` (tests pass a fake tree).
MachineFacts ReadMachineFacts(const std::string& sysRoot);
