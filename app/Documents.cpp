#include "app/Documents.h"

#include <filesystem>

#include "app/DocumentView.h"
#include "app/State.h"
#include "image/DataFile.h"
#include "image/Image.h"
#include "settings/Language.h"
#include "settings/MsgBox.h"

namespace {
bool Ask(const std::string& text)
{
    return MsgBox(Language.Confirmation, text, kMsgQuestion) == kMsgYes;
}

// The fields SelectModel may change, so a model change that could not go on
// can be taken back.
struct ModelSelection {
    std::string ModelName, ModelCode, BandText, AreaCode;
    int32_t KeyLayout, ChannelCount;
    double ModelMaxFreq, ModelMinFreq, BandHigh, BandLow;

    static ModelSelection Current()
    {
        return {ALL.ModelName, ALL.ModelCode, ALL.BandText, ALL.AreaCode, ALL.KeyLayout, ALL.ChannelCount,
                ALL.ModelMaxFreq, ALL.ModelMinFreq, ALL.BandHigh, ALL.BandLow};
    }
    void Restore() const
    {
        ALL.ModelName = ModelName;
        ALL.ModelCode = ModelCode;
        ALL.BandText = BandText;
        ALL.AreaCode = AreaCode;
        ALL.KeyLayout = KeyLayout;
        ALL.ChannelCount = ChannelCount;
        ALL.ModelMaxFreq = ModelMaxFreq;
        ALL.ModelMinFreq = ModelMinFreq;
        ALL.BandHigh = BandHigh;
        ALL.BandLow = BandLow;
    }
};
}

bool SaveDocument(std::string& fileName, TFileChooser& chooser)
{
    bool written = false;
    if (!fileName.empty()) {
        written = WriteDataFile(fileName);
    } else if (std::optional<std::string> chosen = chooser.ChooseSave()) {
        fileName = *chosen;
        std::error_code ec;
        if (std::filesystem::exists(fileName, ec) && !Ask(Language.FileExists))
            fileName.clear();
        else
            written = WriteDataFile(fileName);
    }
    DocumentView().UpdateStatus();
    return written;
}

bool OfferToSaveChanges(std::string& fileName, TFileChooser& chooser)
{
    if (!ALL.Modified || !Ask(Language.SaveProgram))
        return true;
    return SaveDocument(fileName, chooser);
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
    ReadResult result = ReadDataFile(fileName);
    DocumentView().UpdateStatus();
    return result == ReadResult::Ok;
}

bool ChangeModel(const std::string& modelName, const std::string& bandText, std::string& fileName,
                 TFileChooser& chooser)
{
    if (ALL.Modified && !Ask(Language.ClearData))
        return false;
    const TMacType* entry = MacList.FindByName(modelName);
    ModelSelection before = ModelSelection::Current();
    // The model is selected before New offers to save, so a document saved
    // at that question already carries the new model code.
    SelectModel(entry ? entry->Code : std::string(), FrqList.CodeOf(bandText), true);
    if (!NewDocument(fileName, chooser)) {
        before.Restore();
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
