// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The radio's side of the programming exchange, with no I/O of its own:
// host bytes go in one at a time with the moment each one arrived, replies
// come out. The executable puts it on a pseudo-terminal; tests feed it the
// host's frames directly.
//
// One session: PROGRAM + tag frames are acknowledged with 06 (the wake-up
// frame is one of them), 02 is answered with the identification reply,
// the 16-byte identification block with its response byte, then
// acknowledges, read requests and write requests in any order until the
// end frame. A PROGRAM frame in the middle of a session starts a new one,
// so a host that gave up half-way is served again at once; only where the
// identification block is due is every byte data, and there a pause ends
// the session instead (see kIdentBlockGap).
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/ImageLayout.h"
#include "tools/radio-sim/RadioFaults.h"

using RadioMemory = std::array<uint8_t, kImageSize>;
using SimTime = std::chrono::nanoseconds;

// What the radio wants done after taking in a byte.
struct RadioReply {
    std::vector<uint8_t> bytes; // to send, in order
    bool hangUp = false;        // close the line once `bytes` are out
};

class SimulatedRadio {
public:
    SimulatedRadio(const RadioMemory& memory, std::string modelCode, RadioFaults faults = {});

    // One host byte that finished arriving at `now`.
    RadioReply Receive(uint8_t byte, SimTime now);
    // Several bytes arriving together; the replies are joined.
    RadioReply Receive(const std::vector<uint8_t>& bytes, SimTime now);

    // The host went away (line closed): the session in progress ends.
    void LineLost();
    // When a host that stays quiet is taken to have given up on the session
    // in progress; nothing when no session is in progress.
    std::optional<SimTime> SessionDeadline() const;
    // Ends the session in progress when its deadline has passed.
    void Tick(SimTime now);

    const RadioMemory& Memory() const { return memory_; }
    int SessionCount() const { return sessions_; }
    // True once after a session that wrote into the memory has ended.
    bool TakeSaveDue();
    // Receives one line for each thing worth telling the person running it.
    void SetLog(std::function<void(const std::string&)> log) { log_ = std::move(log); }

    // A byte that is not complete within this long after the previous byte
    // of its frame is taken as the start of something new.
    static constexpr SimTime kFrameGap = std::chrono::milliseconds(500);
    // A host quiet for this long inside a session has given up on it; a
    // host in the middle of an exchange never pauses half as long.
    static constexpr SimTime kSessionGap = std::chrono::milliseconds(1000);
    // A host sends the identification block as soon as the identification
    // reply is in, and all its bytes together: a pause before the block or
    // after a lone end frame in its place ends the session, so whatever the
    // next program sends is not taken for the block.
    static constexpr SimTime kIdentBlockGap = std::chrono::milliseconds(500);
    static constexpr SimTime kLoneEndGap = std::chrono::milliseconds(100);

private:
    enum class State { Idle, AwaitIdentify, AwaitIdentBlock, Blocks };

    // The address, length and block a read or write request names.
    struct BlockRequest {
        size_t address;
        size_t length;
        int block;
        ExchangePoint point;
    };

    void HandleFrame(RadioReply& reply);
    void HandleProgram(RadioReply& reply);
    void HandleIdentBlock(RadioReply& reply);
    void HandleRead(RadioReply& reply);
    void HandleWrite(RadioReply& reply);
    void HandleAck(RadioReply& reply);
    BlockRequest Request() const;
    void HangUpIfAskedAfter(int block, RadioReply& reply);
    void EndSession(const char* how);
    size_t FrameLength() const;
    bool LoneEndFrame() const;
    bool FaultsApply() const;
    bool SilentAt(const ExchangePoint& point);
    void Send(const ExchangePoint& point, std::vector<uint8_t> bytes, RadioReply& reply);
    void Log(const std::string& line) const;

    RadioMemory memory_;
    std::string modelCode_;
    RadioFaults faults_;
    std::function<void(const std::string&)> log_;

    State state_ = State::Idle;
    std::vector<uint8_t> frame_;
    SimTime lastByte_{};
    bool heardAnything_ = false;
    uint8_t tag_ = 0;
    int sessions_ = 0;
    int acks_ = 0;
    int blocksRead_ = 0;
    int blocksWritten_ = 0;
    bool powerOff_ = false;  // the power failed in this session
    bool powerLost_ = false; // the power-loss fault has struck
    bool saveDue_ = false;
};
