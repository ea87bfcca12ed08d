// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/formats/InterchangeTexts.h"

#include <array>

namespace {
constexpr auto kTexts = std::to_array<TextKey>({
    // Why a CSV row was not taken.
    {"RowOutsideBand", "%1 MHz lies outside the band %2."},
    {"RowTooMany", "More than 16 channels: no channel is left for this row."},
    {"RowLocation", "Location %1 names no channel of this radio."},
    {"RowSameLocation", "Location %1 was already filled from line %2."},
    {"RowMode", "The mode %1 is not FM or NFM."},
    {"RowTone", "The radio cannot send the tone %1."},
    {"RowNumber", "Column %2: \"%1\" is no number."},
    {"RowValue", "Column %2: \"%1\" is not one of its values."},
    {"RowColumns", "The row has fewer fields than the header."},
    {"NoteNames", "Names and comments are not kept: the radio stores none."},
    {"RowChanged", "%1 %2 was taken as %3."},
    {"NothingTaken", "No row of the file was taken; the channels are as they were."},
    {"ExportUnlisted", "Channel %1: CHIRP knows no tone %2 and leaves this row out; this program reads it back."},
    {"RowLine", "Line %1: %2"},
    // Why a CSV file was not read at all.
    {"FileNoHeader", "The file is no CHIRP channel list: its first line lacks the columns Location and Frequency."},
    {"FileUtf16", "The file is UTF-16 text. Save it as UTF-8 (in CHIRP or a text editor) and import it again."},
    {"FileQuote", "Line %1: a quoted field is not closed."},
    {"FileEmpty", "The file is empty: it holds no channel list."},
    // The JSON reader.
    {"JsonSyntax", "The JSON text cannot be read: %1"},
    {"JsonUnknownKey", "%1: unknown key."},
    {"JsonWrongType", "%1: %2 expected."},
    {"JsonNotAnItem", "%1: \"%2\" is not one of the field's values."},
    {"JsonChannel", "%1: channel numbers run from 1 to 16, each once."},
    {"JsonRefused", "%1: \"%2\" is refused: %3"},
    {"JsonOffRaster", "%1: %2 MHz lies between the channel steps; the nearest the radio takes is %3."},
    {"JsonStamp", "%1: \"%2\" is no date and time of the form yyyy-MM-dd HH:mm:ss."},
    {"TypeText", "a text"},
    {"TypeNumber", "a whole number"},
    {"TypeObject", "an object"},
    {"TypeList", "a list"},
    {"TypeYesNo", "true or false"},
    // The import report.
    {"ReportCaption", "Import Report"},
    {"ReportSummary", "Channels taken: %1. Rows not taken: %2, these:"},
    {"ReportClose", "&Close"},
    {"ReportRows", "Lines not taken, and notes"},
    {"KeepLocations", "&Keep the locations of the file"},
    {"ImportFailed", "Nothing was imported: %1"},
    {"UndoImport", "Import"},
    // File dialogs.
    {"CsvFiles", "CHIRP CSV File"},
    {"JsonFiles", "JSON File"},
    {"PdfFiles", "PDF File"},
    // The printed pages.
    {"PrintModel", "Model"},
    {"PrintBand", "Band"},
    {"PrintFile", "File"},
    {"PrintWritten", "Written"},
    {"PrintSerial", "Serial number"},
    {"PrintUnsaved", "(not saved)"},
    {"PrintChannels", "Channels"},
    {"PrintSettings", "Settings"},
    {"PrintTicked", "Yes"},
    {"PrintUnticked", "No"},
    {"PrintPage", "Page %1 of %2"},
});
} // namespace

constinit const TextSection kInterchangeTexts{"Interchange", kTexts};
