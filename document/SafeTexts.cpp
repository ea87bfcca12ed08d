// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/SafeTexts.h"

#include <array>

namespace {
constexpr auto kTexts = std::to_array<TextKey>({
    // The phases and the outcome.
    {"PhaseBackup", "Backing up the radio"},
    {"PhaseWrite", "Writing"},
    {"PhaseVerify", "Verifying"},
    {"Verified", "Verified"},
    {"BackupSaved", "Backup: %1"},
    {"BackupNotSaved", "The backup cannot be saved as %1: %2. Nothing was written to the radio."},
    {"BackupKept",
     "What the radio held before this write is saved in %1; open it from File > Backups (or run qv300-cli restore) to put it back."},
    {"BlockRefused",
     "The radio refused block %1 (address %2): it answered %3, not 06. The write stopped there; "
     "the blocks from %1 on were not written. Write the radio again; if it refuses again, it may "
     "not take this document."},
    {"WrongBand",
     "The radio is for %1, the document for %2: a document cannot be written into a radio of "
     "another band. Nothing was written. Read this radio (or make a new document for %1) and "
     "write that instead, or connect a radio for %2."},
    {"VerifyFailed", "The radio does not hold what was written: block %1 (%2) differs. Write the radio again."},
    {"ResultLine", "Radio %1: serial number %2, %3, backup %4"},
    {"NoBackup", "no backup"},
    {"NoSerial", "none"},
    // The change list.
    {"ChangesHeading", "What the write will change in the radio:"},
    {"NoChanges", "The radio already holds this document: nothing will change."},
    {"FilesEqual", "The two files hold the same document."},
    {"ConfirmWrite", "Write these changes into the radio?"},
    {"WriteAnyway", "Write anyway?"},
    {"PreviewTitle", "What Will Change"},
    {"Model", "Model"},
    {"Band", "Band"},
    {"Added", "%1: added (%2)"},
    {"Deleted", "%1: deleted"},
    {"Changed", "%1, %2: %3 → %4"},
    {"ChangedWhole", "%1: %2 → %3"},
    {"Empty", "(empty)"},
    {"Ticked", "On"},
    {"NotTicked", "Off"},
    {"OtherData", "other data at %1"},
    {"Block", "block %1"},
    // The backups.
    {"ColumnSerial", "Serial Number"},
    {"ColumnTime", "Date and Time"},
    {"ColumnModel", "Model"},
    {"ColumnBand", "Band"},
    {"ColumnFile", "File"},
    {"ColumnSameAs", "Same contents as"},
    {"NoBackups", "There are no backups in %1 yet."},
});
} // namespace

constinit const TextSection kSafeTexts{"SafeWrite", kTexts};
