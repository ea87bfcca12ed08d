// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/radio-sim/SimulatedRadio.h"

#include <algorithm>
#include <string_view>

#include "link/IdentBlock.h"

namespace {
// The bytes on the line, as the radio understands them.
constexpr std::string_view kProgramWord = "PROGRAM"; // then one tag byte
constexpr size_t kProgramFrameLength = 8;
constexpr uint8_t kIdentify = 0x02;
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;
constexpr uint8_t kRead = 'R';
constexpr uint8_t kWrite = 'W';
constexpr uint8_t kEnd = 'E';
constexpr size_t kRequestHeader = 4; // command, address high, address low, length
constexpr size_t kIdentBlockLength = std::tuple_size_v<IdentBlock>;
constexpr size_t kIdentReplyLength = 16;
constexpr size_t kIdentReplyModelAt = 1; // four characters
constexpr size_t kIdentReplyTagAt = 6;
// A data reply cut short by the shortReply fault: header and half the data.
constexpr size_t kShortReplyLength = kRequestHeader + kBlockSize / 2;
// Bytes the noise fault puts on the line: none of them is an acknowledge.
constexpr uint8_t kNoise[] = {0x00, 0xFF, 0x55, 0xAA, 0x15, 0x7E, 0x81, 0x3C};

uint8_t ExchangedTag(uint8_t tag)
{
    return static_cast<uint8_t>((tag << 4) | (tag >> 4));
}
}

SimulatedRadio::SimulatedRadio(const RadioMemory& memory, std::string modelCode, RadioFaults faults)
    : memory_(memory), modelCode_(std::move(modelCode)), faults_(faults)
{
    modelCode_.resize(4, ' ');
}

RadioReply SimulatedRadio::Receive(const std::vector<uint8_t>& bytes, SimTime now)
{
    RadioReply all;
    for (uint8_t b : bytes) {
        RadioReply one = Receive(b, now);
        all.bytes.insert(all.bytes.end(), one.bytes.begin(), one.bytes.end());
        if (one.hangUp) {
            // The line is gone: nothing after this byte reaches the radio.
            all.hangUp = true;
            break;
        }
    }
    return all;
}

RadioReply SimulatedRadio::Receive(uint8_t byte, SimTime now)
{
    RadioReply reply;
    if (faults_.echo) {
        reply.bytes.push_back(byte);
        return reply;
    }
    if (heardAnything_) {
        Tick(now);
        if (now - lastByte_ > kFrameGap)
            frame_.clear();
    }
    heardAnything_ = true;
    lastByte_ = now;
    frame_.push_back(byte);

    // Inside the identification block every byte value is data.
    if (state_ != State::AwaitIdentBlock && frame_[0] == kProgramWord[0]) {
        size_t at = frame_.size() - 1;
        if (at < kProgramWord.size() && byte != static_cast<uint8_t>(kProgramWord[at])) {
            // Not a program frame after all; this byte may begin one.
            frame_.clear();
            if (byte == static_cast<uint8_t>(kProgramWord[0]))
                frame_.push_back(byte);
            return reply;
        }
    }
    size_t need = FrameLength();
    if (need == 0) {
        frame_.clear(); // a byte that begins nothing the radio knows
        return reply;
    }
    if (frame_.size() < need)
        return reply;
    HandleFrame(reply);
    frame_.clear();
    return reply;
}

size_t SimulatedRadio::FrameLength() const
{
    const uint8_t first = frame_[0];
    if (state_ == State::AwaitIdentBlock)
        return kIdentBlockLength;
    if (first == static_cast<uint8_t>(kProgramWord[0]))
        return kProgramFrameLength;
    switch (state_) {
    case State::Idle:
    case State::AwaitIdentBlock:
        return 0;
    case State::AwaitIdentify:
        return first == kIdentify || first == kEnd ? 1 : 0;
    case State::Blocks:
        if (first == kAck || first == kEnd)
            return 1;
        if (first == kRead)
            return kRequestHeader;
        if (first == kWrite)
            return kRequestHeader + kBlockSize;
        return 0;
    }
    return 0;
}

void SimulatedRadio::HandleFrame(RadioReply& reply)
{
    if (powerOff_)
        return;
    if (state_ == State::AwaitIdentBlock) {
        HandleIdentBlock(reply);
        return;
    }
    switch (frame_[0]) {
    case kIdentify: {
        if (SilentAt({ExchangePoint::Kind::Ident, 0}))
            return;
        std::vector<uint8_t> ident(kIdentReplyLength, 0xFF);
        ident[0] = 'P';
        const std::string code = FaultsApply() && faults_.unknownModel ? kUnknownModelCode : modelCode_;
        std::copy_n(code.begin(), 4, ident.begin() + kIdentReplyModelAt);
        ident[kIdentReplyModelAt + 4] = 0x00;
        uint8_t exchanged = ExchangedTag(tag_);
        ident[kIdentReplyTagAt] = FaultsApply() && faults_.wrongTag ? static_cast<uint8_t>(exchanged + 1) : exchanged;
        state_ = State::AwaitIdentBlock;
        Send({ExchangePoint::Kind::Ident, 0}, std::move(ident), reply);
        return;
    }
    case kAck:
        HandleAck(reply);
        return;
    case kRead:
        HandleRead(reply);
        return;
    case kWrite:
        HandleWrite(reply);
        return;
    case kEnd:
        EndSession("ended by the host");
        return;
    default: // FrameLength lets nothing else through but program frames
        HandleProgram(reply);
        return;
    }
}

void SimulatedRadio::HandleProgram(RadioReply& reply)
{
    // The wake-up frame and the program request come one after the other
    // and are both acknowledged; only a program frame after that starts over.
    if (state_ != State::AwaitIdentify) {
        if (state_ != State::Idle)
            EndSession("abandoned for a new one");
        ++sessions_;
        acks_ = 0;
        blocksRead_ = 0;
        blocksWritten_ = 0;
        state_ = State::AwaitIdentify;
    }
    tag_ = frame_[kProgramWord.size()];
    if (SilentAt({ExchangePoint::Kind::Program, 0}))
        return;
    Send({ExchangePoint::Kind::Program, 0}, {kAck}, reply);
}

void SimulatedRadio::HandleIdentBlock(RadioReply& reply)
{
    IdentBlock block;
    std::copy_n(frame_.begin(), block.size(), block.begin());
    if (SilentAt({ExchangePoint::Kind::Auth, 0}))
        return;
    const uint8_t expected = IdentResponse(block);
    if (block[15] != IdentCheckByte(block)) {
        // A garbled block: answer with what cannot be the expected byte.
        Send({ExchangePoint::Kind::Auth, 0}, {static_cast<uint8_t>(~expected)}, reply);
        EndSession("refused: identification block with a bad check byte");
        return;
    }
    state_ = State::Blocks;
    uint8_t response = FaultsApply() && faults_.wrongResponse ? static_cast<uint8_t>(expected + 1) : expected;
    Send({ExchangePoint::Kind::Auth, 0}, {response}, reply);
}

void SimulatedRadio::HandleAck(RadioReply& reply)
{
    ExchangePoint point{ExchangePoint::Kind::Ack, acks_++};
    if (SilentAt(point))
        return;
    Send(point, {kAck}, reply);
}

SimulatedRadio::BlockRequest SimulatedRadio::Request() const
{
    const size_t address = static_cast<size_t>(frame_[1]) << 8 | frame_[2];
    const int block = static_cast<int>(address / kBlockSize);
    return {address, frame_[3], block, ExchangePoint{ExchangePoint::Kind::Block, block}};
}

void SimulatedRadio::HangUpIfAskedAfter(int block, RadioReply& reply)
{
    if (FaultsApply() && faults_.hangUpAfterBlock == block) {
        reply.hangUp = true;
        EndSession("hung up");
    }
}

void SimulatedRadio::HandleRead(RadioReply& reply)
{
    const auto [address, length, block, point] = Request();
    if (SilentAt(point))
        return;
    if (length != kBlockSize || address + length > memory_.size()) {
        Send(point, {kNak}, reply);
        return;
    }
    std::vector<uint8_t> data(frame_.begin(), frame_.begin() + kRequestHeader);
    data[0] = kWrite; // the reply carries the block the way a write request does
    data.insert(data.end(), memory_.begin() + static_cast<std::ptrdiff_t>(address),
                memory_.begin() + static_cast<std::ptrdiff_t>(address + length));
    if (FaultsApply() && faults_.shortReplyBlock == block)
        data.resize(kShortReplyLength);
    ++blocksRead_;
    Send(point, std::move(data), reply);
    HangUpIfAskedAfter(block, reply);
}

void SimulatedRadio::HandleWrite(RadioReply& reply)
{
    const auto [address, length, block, point] = Request();
    if (SilentAt(point))
        return;
    // The factory time stamp and the serial number above the written
    // blocks are the radio's own: it never lets them be overwritten.
    const bool writable = length == kBlockSize && address + length <= kWriteBlocks * kBlockSize;
    if (!writable || (FaultsApply() && faults_.refuseWriteBlock == block)) {
        Send(point, {kNak}, reply);
        return;
    }
    std::copy_n(frame_.begin() + kRequestHeader, length, memory_.begin() + static_cast<std::ptrdiff_t>(address));
    ++blocksWritten_;
    Send(point, {kAck}, reply);
    if (FaultsApply() && faults_.corruptWriteBlock == block) {
        memory_[address] ^= 0x01;
        Log("session " + std::to_string(sessions_) + ": block " + std::to_string(block) + " corrupted after writing");
    }
    if (FaultsApply() && faults_.powerLossAfterBlock == block && !powerLost_) {
        powerLost_ = true;
        powerOff_ = true;
        Log("session " + std::to_string(sessions_) + ": power lost after block " + std::to_string(block));
    }
    HangUpIfAskedAfter(block, reply);
}

void SimulatedRadio::LineLost()
{
    frame_.clear();
    if (state_ != State::Idle)
        EndSession("cut off: the line was lost");
}

std::optional<SimTime> SimulatedRadio::SessionDeadline() const
{
    if (state_ == State::Idle)
        return std::nullopt;
    if (state_ == State::AwaitIdentBlock)
        return lastByte_ + (LoneEndFrame() ? kLoneEndGap : kIdentBlockGap);
    return lastByte_ + kSessionGap;
}

// A host that dislikes the identification reply sends the end frame where
// the identification block would go. A block can begin with that byte too,
// but its other 15 bytes follow at once.
bool SimulatedRadio::LoneEndFrame() const
{
    return state_ == State::AwaitIdentBlock && frame_.size() == 1 && frame_[0] == kEnd;
}

void SimulatedRadio::Tick(SimTime now)
{
    if (state_ == State::Idle)
        return;
    const SimTime quiet = now - lastByte_;
    if (LoneEndFrame() && quiet > kLoneEndGap) {
        frame_.clear();
        EndSession("ended by the host");
    } else if (state_ == State::AwaitIdentBlock && quiet > kIdentBlockGap) {
        frame_.clear();
        EndSession("given up by the host before the identification block");
    } else if (quiet > kSessionGap) {
        EndSession("given up by the host");
    }
}

void SimulatedRadio::EndSession(const char* how)
{
    if (blocksWritten_ > 0)
        saveDue_ = true;
    Log("session " + std::to_string(sessions_) + " " + how + " (" + std::to_string(blocksRead_) + " blocks read, " +
        std::to_string(blocksWritten_) + " written)");
    blocksRead_ = 0;
    blocksWritten_ = 0;
    powerOff_ = false; // the power is back for the next session
    state_ = State::Idle;
}

bool SimulatedRadio::TakeSaveDue()
{
    bool due = saveDue_;
    saveDue_ = false;
    return due;
}

bool SimulatedRadio::FaultsApply() const
{
    return !faults_.onlyInSession || *faults_.onlyInSession == sessions_;
}

bool SimulatedRadio::SilentAt(const ExchangePoint& point)
{
    if (!FaultsApply() || faults_.silentAt != point)
        return false;
    Log("session " + std::to_string(sessions_) + ": silent at " + ExchangePointText(point));
    return true;
}

void SimulatedRadio::Send(const ExchangePoint& point, std::vector<uint8_t> bytes, RadioReply& reply)
{
    if (FaultsApply() && faults_.noiseAt == point) {
        for (size_t i = 0; i < faults_.noiseCount; ++i)
            reply.bytes.push_back(kNoise[i % std::size(kNoise)]);
    }
    reply.bytes.insert(reply.bytes.end(), bytes.begin(), bytes.end());
}

void SimulatedRadio::Log(const std::string& line) const
{
    if (log_)
        log_(line);
}
