// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/Documents.h"

#include <filesystem>

#include "core/State.h"
#include "document/DocumentFiles.h"
#include "document/DocumentView.h"
#include "image/Image.h"
#include "settings/Language.h"
#include "settings/MsgBox.h"

namespace {
// Yes or not: a cancelled question counts as No.
bool Ask(const std::string& text)
{
    return MsgBox(Language.Confirmation, text, kMsgQuestion) == kMsgYes;
}
}

bool SaveDocument(std::string& fileName, TFileChooser& chooser)
{
    bool written = false;
    if (!fileName.empty()) {
        written = SaveDocumentFile(fileName);
    } else if (std::optional<std::string> chosen = chooser.ChooseSave()) {
        // The document takes the chosen name only once it is in that file:
        // a refused or failed save leaves it without a file, as it was.
        std::error_code ec;
        if (!std::filesystem::exists(*chosen, ec) || Ask(Language.FileExists))
            written = SaveDocumentFile(*chosen);
        if (written)
            fileName = *chosen;
    }
    DocumentView().UpdateStatus();
    return written;
}

bool OfferToSaveChanges(std::string& fileName, TFileChooser& chooser)
{
    if (!ALL.Modified)
        return true;
    switch (MsgBox(Language.Confirmation, Language.SaveProgram, kMsgQuestion)) {
    case kMsgYes:
        return SaveDocument(fileName, chooser);
    case kMsgNo:
        return true;
    default:
        // Cancelled: neither saved nor thrown away, the command stops.
        return false;
    }
}

bool NewDocument(std::string& fileName, TFileChooser& chooser)
{
    if (!OfferToSaveChanges(fileName, chooser))
        return false;
    NewImage();
    fileName.clear();
    DocumentView().UpdateStatus();
    DocumentView().RefreshEditors();
    ALL.Modified = false;
    return true;
}

bool OpenDocument(std::string& fileName, TFileChooser& chooser)
{
    if (!OfferToSaveChanges(fileName, chooser))
        return false;
    std::optional<std::string> chosen = chooser.ChooseOpen();
    if (!chosen)
        return false;
    fileName = *chosen;
    return OpenDocumentFile(fileName) == ReadResult::Ok;
}

bool ChangeModel(const std::string& modelName, const std::string& bandText, std::string& fileName,
                 TFileChooser& chooser)
{
    if (ALL.Modified && !Ask(Language.ClearData))
        return false;
    const TMacType* entry = MacList.FindByName(modelName);
    // Kept whole, so a change that cannot go on is taken back exactly.
    const TALL before = ALL;
    // The model is selected before New offers to save, so a document saved
    // at that question already carries the new model code.
    SelectModel(entry ? entry->Code : std::string(), FrqList.CodeOf(bandText), true);
    if (!NewDocument(fileName, chooser)) {
        ALL = before;
        DocumentView().UpdateStatus();
        return false;
    }
    return true;
}

bool ConfirmClose(std::string& fileName, TFileChooser& chooser)
{
    if (!Ask(Language.ExitProgram))
        return false;
    return OfferToSaveChanges(fileName, chooser);
}
