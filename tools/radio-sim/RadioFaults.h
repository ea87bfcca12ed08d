// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ways the simulated radio can be told to misbehave, so the program's
// handling of every bad reply can be tried without a broken radio.
#include <cstddef>
#include <optional>
#include <string>

// A place in one session where a fault strikes: a handshake step, the n-th
// acknowledge of the session (counted from 0), or the request for block n
// (read or write, by the block its address names).
struct ExchangePoint {
    enum class Kind { Program, Ident, Auth, Ack, Block };
    Kind kind = Kind::Program;
    int number = 0; // Ack and Block only

    bool operator==(const ExchangePoint&) const = default;
};

// "program", "ident", "auth", "ack:N" or "block:N" (a bare number is a block).
std::optional<ExchangePoint> ParseExchangePoint(const std::string& text);
std::string ExchangePointText(const ExchangePoint& point);

struct RadioFaults {
    bool wrongTag = false;                 // the identification reply carries a wrong exchanged tag
    bool unknownModel = false;             // the identification reply names a model no catalogue has
    bool wrongResponse = false;            // the reply to the identification block is not the expected byte
    std::optional<ExchangePoint> silentAt; // no reply there; the radio drops the session
    std::optional<int> shortReplyBlock;    // the data reply for this block is cut short
    std::optional<int> refuseWriteBlock;   // this write request is answered with a NAK
    std::optional<int> hangUpAfterBlock;   // the line is closed after replying to this block
    std::optional<int> corruptWriteBlock;  // this written block is acknowledged, then one bit of it flips
    // The power fails once this written block is acknowledged: no reply
    // until the host gives the session up, the blocks written so far kept.
    // It strikes once per run (in session S with --fault-session S).
    std::optional<int> powerLossAfterBlock;
    std::optional<ExchangePoint> noiseAt; // noise bytes go out before the reply there
    size_t noiseCount = 3;
    // The line echoes every host byte and the radio hears nothing: a cable
    // whose plug is not fully in the radio.
    bool echo = false;
    // Faults strike in every session, or only in this one (counted from 1).
    std::optional<int> onlyInSession;
};

// The model code the radio reports under the unknownModel fault.
inline constexpr const char* kUnknownModelCode = "QZ99";
