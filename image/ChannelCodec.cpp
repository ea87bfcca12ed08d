// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/ChannelCodec.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/NumberText.h"
#include "core/ImageLayout.h"
#include "core/State.h"
#include "image/ChannelFields.h"
#include "image/Image.h"
#include "settings/Language.h"
#include "settings/MsgBox.h"

TChannel Channel;

namespace {
constexpr double kUnitsPerMHz = 100000.0; // frequencies are stored in units of 10 Hz
constexpr int kFreqDigits = 8;
constexpr int kToneDigits = 4;
// The largest values the eight BCD digits of a frequency and the four digits
// of a CTCSS code can hold.
constexpr double kMaxFreqUnits = 99999999.0;
constexpr double kMaxToneTenths = 9999.0;

// Rasters a frequency is put onto, in units of 10 Hz (5 kHz and 6.25 kHz).
constexpr long long kRaster5k = 500;
constexpr long long kRaster625 = 625;

// Accepted range of a typed CTCSS tone, hertz.
constexpr double kMinTone = 30.0;
constexpr double kMaxTone = 290.0;
constexpr const char* kMaxToneText = "290.0";
constexpr const char* kFallbackDcs = "D777N";

constexpr const char* kHexDigits = "0123456789ABCDEF";

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Two hexadecimal characters as one byte; nothing when either is no hex digit.
std::optional<uint8_t> HexPairToByte(char high, char low)
{
    int h = HexValue(high);
    int l = HexValue(low);
    if (h < 0 || l < 0)
        return std::nullopt;
    return static_cast<uint8_t>(h * 16 + l);
}

void AppendHex(std::string& out, uint8_t byte)
{
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

bool HasHexLetter(const std::string& text)
{
    return text.find_first_of("ABCDEF") != std::string::npos;
}

bool IsOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

// The record of channel n, or nullptr when n names no channel.
uint8_t* ChannelRecord(int n)
{
    if (n < 1 || n > kMaxChannels)
        return nullptr;
    return ALL.Image.data() + ChannelOffset(n);
}

// Mathematical modulo: never negative for a positive divisor.
long long FloorMod(long long a, long long m)
{
    long long r = a % m;
    return r < 0 ? r + m : r;
}

// The largest value a flag or list field can hold: its last list item.
uint8_t FieldLimit(const ChannelField& f)
{
    return static_cast<uint8_t>(f.items.empty() ? 0 : f.items.size() - 1);
}

// The RX frequency field: whether it holds a value decides whether the
// channel exists.
constexpr int kRxFrequencyField = 2;

// PTT ID is stored inverted: the stored value is the list index XOR 3.
constexpr uint8_t kPttIdInvert = 3;
}

std::optional<double> BcdToFreq(const uint8_t* bytes4)
{
    if (!bytes4)
        return std::nullopt;
    std::string digits;
    for (int i = 3; i >= 0; --i)
        AppendHex(digits, bytes4[i]);
    if (HasHexLetter(digits))
        return std::nullopt;
    uint32_t units = 0;
    for (char c : digits)
        units = units * 10 + static_cast<uint32_t>(c - '0');
    return units / kUnitsPerMHz;
}

Bcd4 FreqToBcd(const std::string& text)
{
    Bcd4 bytes = {0xFF, 0xFF, 0xFF, 0xFF};
    // Text that is no number (the empty text among them) stores no frequency.
    // Values outside what eight digits hold are clamped to 0 and 999.99999
    // MHz, so the bytes are always valid BCD.
    std::optional<double> mhz = ParseNumber(text.substr(0, text.find("MHz")));
    if (!mhz)
        return bytes;
    double units = *mhz * kUnitsPerMHz;
    if (!(units > 0))
        units = 0;
    std::string digits = FormatFixed(std::fmin(units, kMaxFreqUnits), 0, kFreqDigits); // exactly 8 digits
    for (int i = 0; i < 4; ++i) {
        size_t pos = static_cast<size_t>(6 - 2 * i); // byte 0 holds the last two digits
        bytes[static_cast<size_t>(i)] = HexPairToByte(digits[pos], digits[pos + 1]).value_or(0xFF);
    }
    return bytes;
}

std::string CodeToTone(uint8_t low, uint8_t high)
{
    if (low == 0xFF && high == 0xFF)
        return {};
    std::string code;
    AppendHex(code, high);
    AppendHex(code, low);
    if (code[0] == '8')
        return "D" + code.substr(1, 3) + "N";
    if (code[0] == 'C')
        return "D" + code.substr(1, 3) + "I";
    if (HasHexLetter(code))
        return {};
    int tenths = 0;
    for (char c : code)
        tenths = tenths * 10 + (c - '0');
    return FormatFixed(tenths / 10.0, 1);
}

std::array<uint8_t, 2> ToneToCode(const std::string& text)
{
    std::array<uint8_t, 2> none = {0xFF, 0xFF};
    std::string t = TrimBlanks(text.substr(0, text.find("Hz")));
    if (t.empty())
        return none;
    if (t[0] == 'D') {
        // D, three code digits, polarity: the polarity becomes the first
        // digit of the stored word (8 normal, C inverted).
        if (t.size() < 5)
            return none;
        char polarity;
        switch (t[4]) {
        case 'N':
        case 'n':
            polarity = '8';
            break;
        case 'I':
        case 'i':
            polarity = 'C';
            break;
        default:
            return none;
        }
        std::optional<uint8_t> low = HexPairToByte(t[2], t[3]);
        std::optional<uint8_t> high = HexPairToByte(polarity, t[1]);
        if (!low || !high)
            return none;
        return {*low, *high};
    }
    // CTCSS: four decimal digits of tenths of a hertz, clamped to what they hold.
    std::optional<double> hz = ParseNumber(t);
    if (!hz)
        return none;
    double tenths = *hz * 10;
    if (!(tenths > 0))
        tenths = 0;
    std::string digits = FormatFixed(std::fmin(tenths, kMaxToneTenths), 0, kToneDigits); // exactly 4 digits
    std::optional<uint8_t> low = HexPairToByte(digits[2], digits[3]);
    std::optional<uint8_t> high = HexPairToByte(digits[0], digits[1]);
    if (!low || !high)
        return none;
    return {*low, *high};
}

std::string CheckToneText(const std::string& text)
{
    if (text.empty())
        return {};
    if (text[0] >= '0' && text[0] <= '9') {
        std::optional<double> hz = ParseNumber(text);
        if (!hz)
            return kMaxToneText;
        return FormatFixed(std::fmin(std::fmax(*hz, kMinTone), kMaxTone), 1);
    }
    if (text.size() == 5 && text[0] == 'D' && IsOctalDigit(text[1]) && IsOctalDigit(text[2]) && IsOctalDigit(text[3])) {
        char polarity = text[4];
        if (polarity == 'N' || polarity == 'I' || polarity == 'n' || polarity == 'i')
            return UpperAscii(text);
    }
    return kFallbackDcs;
}

double SnapFrequency(double mhz)
{
    double scaled = mhz * kUnitsPerMHz;
    // Far beyond any radio frequency the rounding below would overflow;
    // such a value has no raster to go onto and is returned as it is.
    if (!std::isfinite(scaled) || std::fabs(scaled) > 1e15)
        return mhz;
    long long a = std::llround(scaled);
    long long r5 = FloorMod(a, kRaster5k);
    long long r6 = FloorMod(a, kRaster625);
    // On a raster once rounded to the 10 Hz the radio stores: that value,
    // so what is shown and stored is the frequency that was checked.
    if (r5 == 0 || r6 == 0)
        return static_cast<double>(a) / kUnitsPerMHz;
    // Down onto whichever raster lies nearer below.
    long long snapped = r5 < r6 ? a - r5 : a - r6;
    return static_cast<double>(snapped) / kUnitsPerMHz;
}

std::string FormatFrequency(double mhz)
{
    return FormatFixed(mhz, 5);
}

FrequencyCheck CheckFrequency(const std::string& text)
{
    FrequencyCheck check;
    double f = 0;
    if (std::optional<double> typed = ParseNumber(text)) {
        f = *typed;
    } else {
        f = ALL.BandHigh;
        check.message = &TLanguage::OutRange;
    }
    // One message per check: a value already replaced is not checked again.
    if (!check.message) {
        if (f > ALL.ModelMaxFreq) {
            f = ALL.BandHigh;
            check.message = &TLanguage::ErrRange;
        } else if (f < ALL.ModelMinFreq) {
            f = ALL.BandLow;
            check.message = &TLanguage::ErrRange;
        }
    }
    // Outside the band but inside the model's limits: warned, yet kept.
    if (!check.message && (f > ALL.BandHigh || f < ALL.BandLow))
        check.message = &TLanguage::OutRange;
    check.text = FormatFrequency(SnapFrequency(f));
    return check;
}

std::string CheckFrequencyText(const std::string& text)
{
    const FrequencyCheck check = CheckFrequency(text);
    if (check.message)
        MsgBox(Language.Caution, Language.*check.message, kMsgInformation);
    return check.text;
}

bool DecodeChannel(int n, TChannel& c)
{
    const uint8_t* record = ChannelRecord(n);
    const ChannelField* rxField = FindChannelField(kRxFrequencyField);
    std::optional<double> rx = record && rxField ? BcdToFreq(record + rxField->recordByte) : std::nullopt;
    if (!rx) {
        c.RxFreq = -1;
        return false;
    }
    c.RxFreq = *rx;
    for (const ChannelField& f : ChannelFields()) {
        const uint8_t* at = record + f.recordByte;
        switch (f.kind) {
        case ChannelFieldKind::RxFrequency:
            break;
        case ChannelFieldKind::TxFrequency:
            c.TxFreq = BcdToFreq(at).value_or(-1);
            break;
        case ChannelFieldKind::RxTone:
            c.RxTone = CodeToTone(at[0], at[1]);
            break;
        case ChannelFieldKind::TxTone:
            c.TxTone = CodeToTone(at[0], at[1]);
            break;
        case ChannelFieldKind::Flag:
            c.*(f.member) = GetBitField(*at, f.mask, FieldLimit(f), FieldLimit(f));
            break;
        case ChannelFieldKind::PttId:
            c.*(f.member) = GetBitField(*at, f.mask, FieldLimit(f), FieldLimit(f)) ^ kPttIdInvert;
            break;
        }
    }
    return true;
}

void EncodeChannelField(int n, int fieldNumber, const std::string& text)
{
    uint8_t* record = ChannelRecord(n);
    const ChannelField* f = FindChannelField(fieldNumber);
    if (!record || !f)
        return;
    uint8_t* at = record + f->recordByte;
    switch (f->kind) {
    case ChannelFieldKind::RxFrequency: {
        Bcd4 bcd = FreqToBcd(text);
        std::copy(bcd.begin(), bcd.end(), at);
        // No RX frequency means no channel: the rest of the record goes too.
        if (bcd == Bcd4{0xFF, 0xFF, 0xFF, 0xFF})
            std::fill(record + bcd.size(), record + kBlockSize, uint8_t{0xFF});
        break;
    }
    case ChannelFieldKind::TxFrequency: {
        Bcd4 bcd = FreqToBcd(text);
        std::copy(bcd.begin(), bcd.end(), at);
        break;
    }
    case ChannelFieldKind::RxTone:
    case ChannelFieldKind::TxTone: {
        std::array<uint8_t, 2> code = ToneToCode(text);
        at[0] = code[0];
        at[1] = code[1];
        break;
    }
    case ChannelFieldKind::Flag:
    case ChannelFieldKind::PttId: {
        // A list index; anything that is not one of the list's positions
        // leaves the field as it was.
        std::optional<int> index = ParseInteger(text);
        if (!index || *index < 0 || *index > FieldLimit(*f))
            return;
        uint8_t value = static_cast<uint8_t>(*index);
        if (f->kind == ChannelFieldKind::PttId)
            value ^= kPttIdInvert;
        PutBitField(*at, f->mask, value);
        break;
    }
    }
}

void InitChannel(int n, const std::string& frequencyText)
{
    if (!ChannelRecord(n))
        return;
    // A new channel: TX equal to RX, no tones, every flag on its second item
    // (High, Wide, Del, busy lock No, epilogue On) and PTT ID Off.
    for (const ChannelField& f : ChannelFields()) {
        switch (f.kind) {
        case ChannelFieldKind::RxFrequency:
        case ChannelFieldKind::TxFrequency:
            EncodeChannelField(n, f.number, frequencyText);
            break;
        case ChannelFieldKind::RxTone:
        case ChannelFieldKind::TxTone:
            EncodeChannelField(n, f.number, "");
            break;
        case ChannelFieldKind::Flag:
            EncodeChannelField(n, f.number, "1");
            break;
        case ChannelFieldKind::PttId:
            EncodeChannelField(n, f.number, "0");
            break;
        }
    }
}

void ClearChannel(int n)
{
    EncodeChannelField(n, kRxFrequencyField, "");
}
