// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/formats/ChirpColumns.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "base/NumberText.h"
#include "core/State.h"
#include "image/ChannelCodec.h"
#include "image/ChannelFields.h"
#include "image/formats/InterchangeTexts.h"

namespace {
// clang-format off
constexpr auto kColumns = std::to_array<const char*>({
    "Location", "Name", "Frequency", "Duplex", "Offset", "Tone", "rToneFreq", "cToneFreq", "DtcsCode",
    "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode", "TStep", "Skip", "Power", "Comment", "URCALL",
    "RPT1CALL", "RPT2CALL", "DVCODE", "BusyLock", "Epilogue", "PttId",
});
// clang-format on

enum class ToneKind { None, Ctcss, Dcs };

// CHIRP's cross modes: the kind of tone sent (left of the arrow) and the
// kind received.
struct CrossRow {
    ToneKind tx;
    ToneKind rx;
    const char* name;
};
constexpr CrossRow kCrossModes[] = {
    {ToneKind::Ctcss, ToneKind::Ctcss, "Tone->Tone"}, {ToneKind::Ctcss, ToneKind::Dcs, "Tone->DTCS"},
    {ToneKind::Dcs, ToneKind::Ctcss, "DTCS->Tone"},   {ToneKind::None, ToneKind::Ctcss, "->Tone"},
    {ToneKind::None, ToneKind::Dcs, "->DTCS"},        {ToneKind::Dcs, ToneKind::None, "DTCS->"},
    {ToneKind::Dcs, ToneKind::Dcs, "DTCS->DTCS"},     {ToneKind::Ctcss, ToneKind::None, "Tone->"},
};

// This program's DCS polarity letters and CHIRP's.
struct PolarityRow {
    char ours;
    char chirp;
};
constexpr PolarityRow kPolarities[] = {{'N', 'N'}, {'I', 'R'}};

enum class Duplex { Same, Plus, Minus, Split, Off };
struct DuplexRow {
    Duplex kind;
    const char* name;
};
constexpr DuplexRow kDuplexes[] = {
    {Duplex::Same, ""}, {Duplex::Plus, "+"}, {Duplex::Minus, "-"}, {Duplex::Split, "split"}, {Duplex::Off, "off"},
};

// A CHIRP column whose values are a list item of one channel field. Values
// read back are compared without regard to case; `extra` values are read
// as the item too (CHIRP's "P" priority skip is a channel in the scan).
struct ListColumn {
    const char* column;
    int field;                         // channel field number
    std::array<const char*, 4> values; // by list index, as written
    const char* extra;
    int extraItem;
};
constexpr ListColumn kListColumns[] = {
    {"Mode", 7, {"NFM", "FM", nullptr, nullptr}, nullptr, 0},
    {"Power", 6, {"Low", "High", nullptr, nullptr}, nullptr, 0},
    {"Skip", 8, {"", "S", nullptr, nullptr}, "P", 0},
    {"BusyLock", 9, {"Yes", "No", nullptr, nullptr}, nullptr, 0},
    {"Epilogue", 10, {"Off", "On", nullptr, nullptr}, nullptr, 0},
    {"PttId", 13, {"Off", "BOT", "EOT", "Both"}, nullptr, 0},
};

// Channel rasters in units of 10 Hz and CHIRP's TStep for each, preferred
// first.
struct StepRow {
    long long units;
    const char* step;
};
constexpr StepRow kSteps[] = {{500, "5.00"}, {625, "6.25"}};

// CHIRP files of radios with power levels in watts: this much or more is High.
constexpr double kHighWatts = 2.0;

constexpr double kMinTone = 30.0;
constexpr double kMaxTone = 290.0;

// The CTCSS tones CHIRP takes (its TONES and TONES_EXTRA); it leaves out a
// row with any other tone. Its DCS codes are every three octal digits.
constexpr double kChirpTones[] = {
    56.0,  57.0,  58.0,  59.0,  60.0,  61.0,  62.0,  62.5,  63.0,  64.0,  67.0,  69.3,  71.9,  74.4,  77.0,
    79.7,  82.5,  85.4,  88.5,  91.5,  94.8,  97.4,  100.0, 103.5, 107.2, 110.9, 114.8, 118.8, 123.0, 127.3,
    131.8, 136.5, 141.3, 146.2, 151.4, 156.7, 159.8, 162.2, 165.5, 167.9, 171.3, 173.8, 177.3, 179.9, 183.5,
    186.2, 189.9, 192.8, 196.6, 199.5, 203.5, 206.5, 210.7, 218.1, 225.7, 229.1, 233.6, 241.8, 250.3, 254.1,
};

ToneKind KindOf(const std::string& tone)
{
    if (tone.empty())
        return ToneKind::None;
    // "D023N": D, three code digits, the polarity.
    return tone.size() == 5 && tone[0] == 'D' ? ToneKind::Dcs : ToneKind::Ctcss;
}

char ChirpPolarity(char ours)
{
    for (const PolarityRow& p : kPolarities)
        if (p.ours == ours)
            return p.chirp;
    return 'N';
}

std::optional<char> OurPolarity(char chirp)
{
    for (const PolarityRow& p : kPolarities)
        if (p.chirp == chirp || p.chirp == chirp - 'a' + 'A')
            return p.ours;
    return std::nullopt;
}

std::string DcsDigits(const std::string& tone)
{
    return tone.substr(1, 3);
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    return UpperAscii(a) == UpperAscii(b);
}

std::string Number(const char* column, const std::string& value)
{
    return InterchangeText("RowNumber", {value, column});
}

// A CTCSS tone text from a CHIRP column, or the refusal. A tone keeps one
// decimal, as a typed one does, and a change is said.
std::string CtcssBack(const char* column, const std::string& value, ChirpTonesBack& back)
{
    std::optional<double> hz = ParseNumber(value);
    if (!hz) {
        back.refusal = Number(column, value);
        return {};
    }
    if (*hz < kMinTone || *hz > kMaxTone) {
        back.refusal = InterchangeText("RowTone", {value});
        return {};
    }
    const std::string tone = FormatFixed(*hz, 1);
    if (std::fabs(*ParseNumber(tone) - *hz) > 1e-9)
        back.changes.push_back(InterchangeText("RowChanged", {column, value, tone}));
    return tone;
}

// A DCS tone text from a CHIRP code column and one polarity letter.
std::string DcsBack(const char* column, const std::string& code, char polarity, std::string& refusal)
{
    std::optional<int> value = ParseInteger(code);
    if (!value) {
        refusal = Number(column, code);
        return {};
    }
    std::string digits = FormatFixed(*value, 0, 3);
    std::optional<char> ours = OurPolarity(polarity);
    if (*value < 0 || digits.size() != 3 || digits.find_first_not_of("01234567") != std::string::npos) {
        refusal = InterchangeText("RowTone", {code});
        return {};
    }
    if (!ours) {
        refusal = InterchangeText("RowValue", {std::string(1, polarity), "DtcsPolarity"});
        return {};
    }
    return "D" + digits + *ours;
}
} // namespace

std::span<const char* const> ChirpColumnNames()
{
    return kColumns;
}

std::string ChirpFrequency(double mhz)
{
    return FormatFixed(mhz, 6);
}

ChirpTones TonesToChirp(const std::string& txTone, const std::string& rxTone)
{
    ChirpTones t;
    const ToneKind tx = KindOf(txTone);
    const ToneKind rx = KindOf(rxTone);
    if (tx == ToneKind::None && rx == ToneKind::None)
        return t;
    if (tx == ToneKind::Ctcss && rx == ToneKind::None) {
        t.tone = "Tone";
        t.rToneFreq = txTone;
        return t;
    }
    if (tx == ToneKind::Ctcss && txTone == rxTone) {
        t.tone = "TSQL";
        t.rToneFreq = t.cToneFreq = txTone;
        return t;
    }
    if (tx == ToneKind::Dcs && rx == ToneKind::Dcs && DcsDigits(txTone) == DcsDigits(rxTone)) {
        t.tone = "DTCS";
        t.dtcsCode = t.rxDtcsCode = DcsDigits(txTone);
        t.dtcsPolarity = {ChirpPolarity(txTone[4]), ChirpPolarity(rxTone[4])};
        return t;
    }
    t.tone = "Cross";
    for (const CrossRow& row : kCrossModes)
        if (row.tx == tx && row.rx == rx)
            t.crossMode = row.name;
    char polarity[2] = {'N', 'N'};
    if (tx == ToneKind::Ctcss)
        t.rToneFreq = txTone;
    if (rx == ToneKind::Ctcss)
        t.cToneFreq = rxTone;
    if (tx == ToneKind::Dcs) {
        t.dtcsCode = DcsDigits(txTone);
        polarity[0] = ChirpPolarity(txTone[4]);
    }
    if (rx == ToneKind::Dcs) {
        t.rxDtcsCode = DcsDigits(rxTone);
        polarity[1] = ChirpPolarity(rxTone[4]);
    }
    t.dtcsPolarity = {polarity[0], polarity[1]};
    return t;
}

ChirpTonesBack TonesFromChirp(const ChirpTones& t)
{
    ChirpTonesBack back;
    std::string& refusal = back.refusal;
    // CHIRP's default when the column is missing; any other length than two
    // letters would leave one direction's polarity to a guess.
    const std::string polarity = t.dtcsPolarity.empty() ? "NN" : t.dtcsPolarity;
    if (polarity.size() != 2) {
        refusal = InterchangeText("RowValue", {t.dtcsPolarity, "DtcsPolarity"});
        return back;
    }
    if (t.tone.empty())
        return back;
    if (t.tone == "Tone") {
        back.txTone = CtcssBack("rToneFreq", t.rToneFreq, back);
    } else if (t.tone == "TSQL") {
        back.txTone = back.rxTone = CtcssBack("cToneFreq", t.cToneFreq, back);
    } else if (t.tone == "DTCS") {
        back.txTone = DcsBack("DtcsCode", t.dtcsCode, polarity[0], refusal);
        if (refusal.empty())
            back.rxTone = DcsBack("DtcsCode", t.dtcsCode, polarity[1], refusal);
    } else if (t.tone == "Cross") {
        const CrossRow* mode = nullptr;
        for (const CrossRow& row : kCrossModes)
            if (t.crossMode == row.name)
                mode = &row;
        if (!mode) {
            refusal = InterchangeText("RowValue", {t.crossMode, "CrossMode"});
            return back;
        }
        if (mode->tx == ToneKind::Ctcss)
            back.txTone = CtcssBack("rToneFreq", t.rToneFreq, back);
        if (mode->tx == ToneKind::Dcs && refusal.empty())
            back.txTone = DcsBack("DtcsCode", t.dtcsCode, polarity[0], refusal);
        if (mode->rx == ToneKind::Ctcss && refusal.empty())
            back.rxTone = CtcssBack("cToneFreq", t.cToneFreq, back);
        if (mode->rx == ToneKind::Dcs && refusal.empty())
            back.rxTone = DcsBack("RxDtcsCode", t.rxDtcsCode, polarity[1], refusal);
    } else {
        refusal = InterchangeText("RowValue", {t.tone, "Tone"});
    }
    if (!refusal.empty())
        back.txTone = back.rxTone = {};
    return back;
}

ChirpDuplex DuplexToChirp(double rx, double tx, bool inBand)
{
    auto name = [](Duplex kind) {
        for (const DuplexRow& d : kDuplexes)
            if (d.kind == kind)
                return std::string(d.name);
        return std::string();
    };
    if (tx < 0)
        return {name(Duplex::Off), ChirpFrequency(0)};
    if (FormatFrequency(tx) == FormatFrequency(rx))
        return {name(Duplex::Same), ChirpFrequency(0)};
    if (!inBand)
        return {name(Duplex::Split), ChirpFrequency(tx)};
    if (tx > rx)
        return {name(Duplex::Plus), ChirpFrequency(tx - rx)};
    return {name(Duplex::Minus), ChirpFrequency(rx - tx)};
}

std::optional<double> DuplexFromChirp(double rx, const ChirpDuplex& d, std::string& refusal)
{
    const DuplexRow* row = nullptr;
    for (const DuplexRow& r : kDuplexes)
        if (EqualNoCase(d.duplex, r.name))
            row = &r;
    if (!row) {
        refusal = InterchangeText("RowValue", {d.duplex, "Duplex"});
        return std::nullopt;
    }
    if (row->kind == Duplex::Same)
        return rx;
    if (row->kind == Duplex::Off)
        return -1.0;
    std::optional<double> offset = ParseNumber(d.offset);
    if (!offset) {
        refusal = Number("Offset", d.offset);
        return std::nullopt;
    }
    double tx = *offset;
    if (row->kind == Duplex::Plus)
        tx = rx + *offset;
    else if (row->kind == Duplex::Minus)
        tx = rx - *offset;
    // Below zero is no TX frequency, and must not read as "off".
    if (tx < 0) {
        refusal = InterchangeText("RowOutsideBand", {ChirpFrequency(tx), ALL.BandText});
        return std::nullopt;
    }
    return tx;
}

std::vector<std::string> ChirpUnlistedTones(const TChannel& c)
{
    std::vector<std::string> unlisted;
    for (const std::string* tone : {&c.TxTone, &c.RxTone}) {
        bool listed = true;
        if (KindOf(*tone) == ToneKind::Dcs) {
            listed = DcsDigits(*tone).find_first_not_of("01234567") == std::string::npos;
        } else if (KindOf(*tone) == ToneKind::Ctcss) {
            const std::optional<double> hz = ParseNumber(*tone);
            listed = hz && std::any_of(std::begin(kChirpTones), std::end(kChirpTones),
                                       [&](double t) { return std::fabs(t - *hz) < 0.05; });
        }
        if (!listed && std::find(unlisted.begin(), unlisted.end(), *tone) == unlisted.end())
            unlisted.push_back(*tone);
    }
    return unlisted;
}

std::vector<std::string> ChannelToChirpRow(int location, const TChannel& c, bool txInBand)
{
    const ChirpTones tones = TonesToChirp(c.TxTone, c.RxTone);
    const ChirpDuplex duplex = DuplexToChirp(c.RxFreq, c.TxFreq, txInBand);
    std::string step = kSteps[0].step;
    const long long units = std::llround(c.RxFreq * 100000.0);
    for (auto it = std::rbegin(kSteps); it != std::rend(kSteps); ++it)
        if (units % it->units == 0)
            step = it->step;
    std::vector<std::string> row = {std::to_string(location),
                                    "",
                                    ChirpFrequency(c.RxFreq),
                                    duplex.duplex,
                                    duplex.offset,
                                    tones.tone,
                                    tones.rToneFreq,
                                    tones.cToneFreq,
                                    tones.dtcsCode,
                                    tones.dtcsPolarity,
                                    tones.rxDtcsCode,
                                    tones.crossMode,
                                    "",
                                    step,
                                    "",
                                    "",
                                    "",
                                    "",
                                    "",
                                    "",
                                    "",
                                    "",
                                    "",
                                    ""};
    for (const ListColumn& column : kListColumns) {
        const ChannelField* f = FindChannelField(column.field);
        const size_t item = c.*(f->member);
        for (size_t i = 0; i < kColumns.size(); ++i)
            if (std::string_view(kColumns[i]) == column.column && item < column.values.size() && column.values[item])
                row[i] = column.values[item];
    }
    return row;
}

ChirpChannel ChannelFromChirp(const ChirpField& field)
{
    ChirpChannel c;
    c.hasText = !TrimBlanks(field("Name")).empty() || !TrimBlanks(field("Comment")).empty();
    const std::string rxText = TrimBlanks(field("Frequency"));
    std::optional<double> rx = ParseNumber(rxText);
    if (!rx) {
        c.refusal = Number("Frequency", rxText);
        return c;
    }
    if (*rx < ALL.BandLow || *rx > ALL.BandHigh) {
        c.refusal = InterchangeText("RowOutsideBand", {rxText, ALL.BandText});
        return c;
    }
    // Rounded onto the raster as a typed frequency is, and said so.
    auto onRaster = [&c](const char* what, const std::string& written, double mhz) {
        const double snapped = SnapFrequency(mhz);
        if (std::fabs(snapped - mhz) > 1e-9)
            c.changes.push_back(InterchangeText("RowChanged", {what, written, FormatFrequency(snapped)}));
        return FormatFrequency(snapped);
    };
    c.rx = onRaster("RX", rxText, *rx);

    std::optional<double> tx = DuplexFromChirp(*rx, {TrimBlanks(field("Duplex")), TrimBlanks(field("Offset"))},
                                               c.refusal);
    if (!tx)
        return c;
    if (*tx >= 0 && (*tx < ALL.ModelMinFreq || *tx > ALL.ModelMaxFreq)) {
        c.refusal = InterchangeText("RowOutsideBand", {ChirpFrequency(*tx), ALL.BandText});
        return c;
    }
    // A TX equal to RX goes where RX went, and was said with it.
    c.tx = *tx < 0 ? std::string() : *tx == *rx ? c.rx : onRaster("TX", ChirpFrequency(*tx), *tx);

    ChirpTones tones;
    tones.tone = TrimBlanks(field("Tone"));
    tones.rToneFreq = TrimBlanks(field("rToneFreq"));
    tones.cToneFreq = TrimBlanks(field("cToneFreq"));
    // A file with one of the two CTCSS columns uses it both ways, as CHIRP does.
    if (tones.rToneFreq.empty())
        tones.rToneFreq = tones.cToneFreq;
    if (tones.cToneFreq.empty())
        tones.cToneFreq = tones.rToneFreq;
    tones.dtcsCode = TrimBlanks(field("DtcsCode"));
    tones.dtcsPolarity = TrimBlanks(field("DtcsPolarity"));
    tones.rxDtcsCode = TrimBlanks(field("RxDtcsCode"));
    if (tones.rxDtcsCode.empty())
        tones.rxDtcsCode = tones.dtcsCode;
    tones.crossMode = TrimBlanks(field("CrossMode"));
    // CHIRP's lists before it had the column, and CHIRP itself, read
    // a missing cross mode as Tone->Tone.
    if (tones.crossMode.empty())
        tones.crossMode = kCrossModes[0].name;
    ChirpTonesBack back = TonesFromChirp(tones);
    if (!back.refusal.empty()) {
        c.refusal = back.refusal;
        return c;
    }
    c.changes.insert(c.changes.end(), back.changes.begin(), back.changes.end());
    c.txTone = back.txTone;
    c.rxTone = back.rxTone;

    for (const ListColumn& column : kListColumns) {
        const std::string value = TrimBlanks(field(column.column));
        int item = -1;
        for (size_t i = 0; i < column.values.size(); ++i)
            if (column.values[i] && EqualNoCase(value, column.values[i]))
                item = static_cast<int>(i);
        if (column.extra && EqualNoCase(value, column.extra))
            item = column.extraItem;
        if (item < 0 && std::string_view(column.column) == "Power" && value.ends_with('W'))
            if (std::optional<double> watts = ParseNumber(value.substr(0, value.size() - 1)))
                item = *watts >= kHighWatts ? 1 : 0;
        // An empty cell of a column that has no empty value keeps what a new
        // channel has; Skip's empty value is "in the scan".
        if (item < 0 && value.empty())
            continue;
        if (item < 0) {
            c.refusal = std::string_view(column.column) == "Mode" ? InterchangeText("RowMode", {value})
                                                                  : InterchangeText("RowValue", {value, column.column});
            return c;
        }
        c.items.emplace_back(column.field, item);
    }
    return c;
}
