// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The host's frames as a script for driving the simulated radio in tests.
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "link/IdentBlock.h"
#include "tools/radio-sim/SimulatedRadio.h"

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

inline RadioMemory PatternMemory()
{
    RadioMemory m;
    for (size_t i = 0; i < m.size(); ++i)
        m[i] = static_cast<uint8_t>(i * 7 + 3);
    return m;
}

inline Bytes Program(uint8_t tag)
{
    return {'P', 'R', 'O', 'G', 'R', 'A', 'M', tag};
}

inline Bytes ReadRequest(int block)
{
    int address = block * 16;
    return {'R', static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address & 0xFF), 0x10};
}

inline Bytes WriteRequest(int block, uint8_t fill)
{
    int address = block * 16;
    Bytes frame{'W', static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address & 0xFF), 0x10};
    frame.resize(20, fill);
    return frame;
}

inline Bytes BlockOf(const RadioMemory& m, int block)
{
    return Bytes(m.begin() + block * 16, m.begin() + block * 16 + 16);
}

// The host's side of a session as a script: each frame goes in 30 ms after
// the previous one, as the program sends them.
struct Host {
    SimulatedRadio& radio;
    SimTime now{};
    IdentBlock ident{};
    uint8_t expected = 0;

    explicit Host(SimulatedRadio& r) : radio(r) { expected = BuildIdentBlock("JQ3BCDEFGHIJKLM", ident); }

    RadioReply Send(const Bytes& frame)
    {
        now += 30ms;
        return radio.Receive(frame, now);
    }
    Bytes Reply(const Bytes& frame) { return Send(frame).bytes; }
    Bytes SendIdent() { return Reply(Bytes(ident.begin(), ident.end())); }
    // Wake-up, program request, identify, identification block; true when
    // every reply was the right one.
    bool Handshake(uint8_t tag = 'c')
    {
        uint8_t exchanged = static_cast<uint8_t>((tag << 4) | (tag >> 4));
        Bytes ident16;
        bool ok = Reply(Program('a')) == Bytes{0x06} && Reply(Program(tag)) == Bytes{0x06};
        ident16 = Reply({0x02});
        ok = ok && ident16.size() == 16 && ident16[6] == exchanged;
        return ok && SendIdent() == Bytes{expected};
    }
};
