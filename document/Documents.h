// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The document commands of the File menu and the model change, without the
// windows: the file dialogs are asked through TFileChooser, questions and
// errors go through MsgBox, and the main window is told through
// DocumentView(). `fileName` is the main window's FileName.
#include <optional>
#include <string>

class TFileChooser {
public:
    virtual ~TFileChooser() = default;
    // The path the user chose, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> ChooseOpen() = 0;
    virtual std::optional<std::string> ChooseSave() = 0;
};

// Save (command 3); Save As is a save to an empty name that the caller
// keeps only on success. True when the document was written; an empty
// `fileName` takes the chosen path only then.
bool SaveDocument(std::string& fileName, TFileChooser& chooser);

// Asks "SaveProgram" when the document has unsaved changes and saves on Yes.
// False when the question was cancelled, or when the user said Yes but
// nothing was saved (dialog cancelled, file not writable, "FileExists"
// answered No): the caller must then stop, or the changes would be lost.
bool OfferToSaveChanges(std::string& fileName, TFileChooser& chooser);

// New (command 1) and Open (command 2). False when they stopped before
// replacing the document.
bool NewDocument(std::string& fileName, TFileChooser& chooser);
bool OpenDocument(std::string& fileName, TFileChooser& chooser);

// The model change after the model dialog was accepted (command 30): the
// model and band by their texts. False when nothing changed.
bool ChangeModel(const std::string& modelName, const std::string& bandText, std::string& fileName,
                 TFileChooser& chooser);

// The close question of the main window: "ExitProgram", then the offer to
// save. True when the program may close.
bool ConfirmClose(std::string& fileName, TFileChooser& chooser);
