// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frames of the radio link, the link tag and the timing of the exchange.
// Frames go on the line exactly as listed: no start byte, length, escaping
// or checksum.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// "PROGRAMa": wakes the radio; its reply is not looked at.
inline constexpr std::array<uint8_t, 8> kWakeUpFrame = {'P', 'R', 'O', 'G', 'R', 'A', 'M', 'a'};
// "PROGRAM" followed by the link tag.
inline constexpr std::array<uint8_t, 7> kProgramRequestPrefix = {'P', 'R', 'O', 'G', 'R', 'A', 'M'};
inline constexpr size_t kProgramRequestLength = kProgramRequestPrefix.size() + 1;
inline constexpr uint8_t kIdentifyRequest = 0x02;
inline constexpr uint8_t kAck = 0x06;
inline constexpr uint8_t kReadCommand = 'R';
inline constexpr uint8_t kWriteCommand = 'W';
inline constexpr uint8_t kEndFrame = 'E';
inline constexpr uint8_t kBlockLengthByte = 0x10;
inline constexpr size_t kRequestHeaderLength = 4; // command, address high, address low, length
inline constexpr size_t kWriteRequestLength = kRequestHeaderLength + 16;

// Replies: the identification reply carries the model code at bytes 1..4 and
// the exchanged tag at byte 6; a data reply carries its block at 4..19.
inline constexpr int kIdentReplyLength = 16;
inline constexpr size_t kIdentModelCodeAt = 1;
inline constexpr size_t kIdentModelCodeLength = 4;
inline constexpr size_t kIdentTagAt = 6;
inline constexpr int kDataReplyLength = 20;
inline constexpr size_t kDataReplyBlockAt = 4;

// The receive buffer holds at most 49 bytes of one reply.
inline constexpr size_t kReceiveBufferSize = 49;

// The timers of an exchange and of the windows around it.
enum class LinkTimer { xTimer, HeadTime, TryTime, CloseTime, cxBack };
inline constexpr size_t kLinkTimerCount = 5;

// Timer intervals, milliseconds.
inline constexpr int kTimerInterval[kLinkTimerCount] = {
    200,  // xTimer: wake-up frame to program request
    1500, // HeadTime: reply time-out in the handshake
    1500, // TryTime: reply time-out in the block transfer
    300,  // CloseTime: the window closes after the operation ended
    500,  // cxBack: the write window is ready for the next radio
};
constexpr int IntervalOf(LinkTimer t)
{
    return kTimerInterval[static_cast<size_t>(t)];
}

// Blocking waits, milliseconds.
inline constexpr int kWaitBeforeFrame = 30;
inline constexpr int kWaitBeforeStart = 450; // after OK, before the buffers are flushed
inline constexpr int kWaitAfterFlush = 50;   // before the wake-up frame
inline constexpr int kWaitBeforeOpen = 50;
inline constexpr int kWaitBeforeIdentify = 5;
inline constexpr int kWaitBeforeHandshakeError = 2500;

// The tag that names the port in the program request: 'a' to 'i' for COM1 to
// COM9; for any other port 'e' + `random0to4` (0..4, drawn per operation).
uint8_t LinkTag(int portNumber, int random0to4);
// The tag as the radio must return it: its two nibbles exchanged.
constexpr uint8_t ExchangedTag(uint8_t tag)
{
    return static_cast<uint8_t>(((tag << 4) | (tag >> 4)) & 0xFF);
}

std::array<uint8_t, kProgramRequestLength> ProgramRequest(uint8_t tag);
// Command, address of `block` (block × 16, high byte first), length 0x10.
std::array<uint8_t, kRequestHeaderLength> BlockRequestHeader(uint8_t command, int block);

// Appends the byte as two upper-case hex digits, as the traffic log and the
// doctor show what went over the line.
void AppendHex(std::string& text, uint8_t byte);
