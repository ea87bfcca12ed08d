// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Channel records of the image <-> the values and texts the channel grid
// shows. Works on ALL.Image in place and has no state of its own.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

class TLanguage;

class TChannel {
public:
    double RxFreq = -1; // MHz; -1 when the channel is empty
    double TxFreq = -1; // MHz; -1 when the record holds none
    std::string RxTone; // empty for no tone
    std::string TxTone;
    uint8_t BusyLock = 0;  // 0 Yes, 1 No
    uint8_t Bandwidth = 0; // 0 Narrow, 1 Wide
    uint8_t Power = 0;     // 0 Low, 1 High
    uint8_t ScanAdd = 0;   // 0 Add, 1 Del
    uint8_t Tail = 0;      // 0 Off, 1 On
    uint8_t PttId = 0;     // 0 Off, 1 BOT, 2 EOT, 3 Both
};

using Bcd4 = std::array<uint8_t, 4>;

std::optional<double> BcdToFreq(const uint8_t* bytes4);
Bcd4 FreqToBcd(const std::string& text);
std::string CodeToTone(uint8_t low, uint8_t high);
std::array<uint8_t, 2> ToneToCode(const std::string& text);
std::string CheckToneText(const std::string& text);
double SnapFrequency(double mhz);
std::string FormatFrequency(double mhz);
// What typing makes of a frequency: the text it stores and the message it
// shows about it (OutRange or ErrRange), or none.
struct FrequencyCheck {
    std::string text;
    std::string TLanguage::*message = nullptr;
};
FrequencyCheck CheckFrequency(const std::string& text);
// The same, showing its message with the Caution caption.
std::string CheckFrequencyText(const std::string& text);

bool DecodeChannel(int n, TChannel& c);
void EncodeChannelField(int n, int fieldNumber, const std::string& text);
void InitChannel(int n, const std::string& frequencyText);
void ClearChannel(int n);
