// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands: RunCommand and the dialogs it opens.
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTreeWidget>
#include <QUndoStack>
#include <QUrl>

#include "app/ui/AboutDlg.h"
#include "app/ui/BackupsDlg.h"
#include "app/ui/EmbeddedMessage.h"
#include "app/ui/HelpTopics.h"
#include "app/ui/MainFrm.h"
#include "app/ui/ModelDlg.h"
#include "core/State.h"
#include "editors/ui/ChsInfo.h"
#include "link/PortNames.h"
#include "link/ui/Doctor.h"
#include "link/ui/FleetWrite.h"
#include "link/ui/ReadRadio.h"
#include "link/ui/SetPort.h"
#include "link/ui/WriteRadio.h"
#include "settings/Language.h"
#include "settings/SysInfo.h"
#include "settings/TextCatalogue.h"
#include "settings/ui/LocaliseForm.h"
#include "settings/ui/QtTranslations.h"
#include "settings/ui/SetLanguageDlg.h"

std::optional<std::string> TfMainFrm::ChooseOpen()
{
    QString path = QFileDialog::getOpenFileName(this, QString(), QString(), "Data File(*.dat)");
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

std::optional<std::string> TfMainFrm::ChooseSave()
{
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter("Data File(*.dat)");
    dialog.setDefaultSuffix("dat");
    // The program asks "FileExists" itself.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

void TfMainFrm::RunCommand(Command command)
{
    // A frequency still being typed belongs to the document before any
    // command looks at it (Ctrl+S in the middle of an edit must save it).
    if (TfChsInfo* channels = ChannelEditor())
        channels->FormDeactivate();
    // The grid keeps the focus for the next key on its selection.
    if (RunSheetCommand(command))
        return;
    cxTree->setFocus();
    switch (command) {
    case Command::New:
        if (NewDocument(FileName, *this))
            StartUndoHistory(true);
        break;
    case Command::Open:
        if (OpenDocument(FileName, *this))
            StartUndoHistory(true);
        break;
    case Command::Save:
        if (SaveDocument(FileName, *this))
            UndoStack()->setClean();
        break;
    case Command::SaveAs: {
        // The document keeps its file until it is written to another one.
        std::string target;
        if (SaveDocument(target, *this)) {
            FileName = target;
            UndoStack()->setClean();
        }
        UpdateStatus();
        break;
    }
    case Command::Backups:
        OpenBackup();
        break;
    case Command::ChannelInformation:
    case Command::ChannelNode:
        ShowChannelEditor();
        break;
    case Command::ReadFromRadio: {
        TfReadRadio dialog(this);
        dialog.exec();
        if (dialog.ReadSucceeded()) {
            StartUndoHistory(false);
            FileName.clear();
            UpdateStatus();
            RefreshEditors();
        }
        break;
    }
    case Command::WriteToRadio: {
        TfWriteRadio dialog(this);
        dialog.exec();
        break;
    }
    case Command::FleetWrite: {
        TfFleetWrite dialog(this);
        dialog.exec();
        break;
    }
    case Command::CommunicationPort: {
        TfSetPort dialog(this);
        dialog.exec();
        UpdateStatus();
        break;
    }
    case Command::KeyFunction:
    case Command::VoxFunction:
    case Command::OptionalFunction:
    case Command::RadioInformation:
    case Command::DtmfInformation:
    case Command::ScanInformation:
        ShowEditor(command);
        break;
    case Command::ModelInformation:
        if (std::optional<ModelChoice> choice = TfModel::Choose(this))
            ApplyModelChoice(*choice);
        break;
    case Command::EmbeddedMessage: {
        TfEmbeddedMessage dialog(this);
        dialog.exec();
        break;
    }
    case Command::LanguageFileSetup:
        ChangeLanguage();
        break;
    case Command::CheckConnection: {
        TfDoctor dialog(this);
        dialog.exec();
        break;
    }
    case Command::Cascade:
        mdi->cascadeSubWindows();
        break;
    case Command::TileHorizontally:
    case Command::TileVertically:
        mdi->tileSubWindows();
        break;
    case Command::ArrangeIcons:
        break; // minimised child windows line up by themselves
    case Command::CloseAllWindows: {
        QList<QMdiSubWindow*> windows = mdi->subWindowList(QMdiArea::CreationOrder);
        for (auto it = windows.rbegin(); it != windows.rend(); ++it)
            (*it)->close();
        break;
    }
    case Command::HelpTopics:
        OpenHelp();
        break;
    case Command::About:
        ShowAbout();
        break;
    case Command::Print:
        PrintDocument();
        break;
    case Command::ImportCsv:
    case Command::ImportJson:
        ImportFile(command);
        break;
    case Command::ExportCsv:
    case Command::ExportJson:
    case Command::ExportPdf:
        ExportFile(command);
        break;
    default:
        // The numbers of hidden menu items without a command (6, 8, 16).
        break;
    }
}

namespace {
// The one local file a drag carries, or nothing.
std::optional<QString> DroppedFile(const QMimeData* mime)
{
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1 || !mime->urls().front().isLocalFile())
        return std::nullopt;
    return mime->urls().front().toLocalFile();
}

// The file to open is already chosen; a save before it still asks.
struct NamedFile : TFileChooser {
    TFileChooser& window;
    std::string path;
    NamedFile(TFileChooser& w, std::string p) : window(w), path(std::move(p)) {}
    std::optional<std::string> ChooseOpen() override { return path; }
    std::optional<std::string> ChooseSave() override { return window.ChooseSave(); }
};
} // namespace

void TfMainFrm::OpenPath(const std::string& path)
{
    NamedFile chooser(*this, path);
    if (OpenDocument(FileName, chooser))
        StartUndoHistory(true);
}

void TfMainFrm::dragEnterEvent(QDragEnterEvent* event)
{
    if (DroppedFile(event->mimeData()))
        event->acceptProposedAction();
}

void TfMainFrm::dropEvent(QDropEvent* event)
{
    const std::optional<QString> file = DroppedFile(event->mimeData());
    if (!file)
        return;
    event->acceptProposedAction();
    // After the drop has ended: the save question is a modal dialog.
    QTimer::singleShot(0, this, [this, path = file->toStdString()] { OpenPath(path); });
}

void TfMainFrm::OpenBackup()
{
    // Opened as File > Open opens a file: the changes are offered for
    // saving first. The backup becomes the document without its name, so
    // a save never overwrites the file that restores the radio.
    TfBackups dialog(this);
    if (dialog.exec() != QDialog::Accepted || !dialog.Chosen())
        return;
    NamedFile chooser(*this, *dialog.Chosen());
    if (!OpenDocument(FileName, chooser))
        return;
    FileName.clear();
    UpdateStatus();
    // Unmodified: the backup it came from stays on disk.
    StartUndoHistory(true);
}

void TfMainFrm::ChangeLanguage()
{
    TfSetLanguage dialog(this);
    dialog.exec();
    if (!dialog.Changed)
        return;
    LoadLanguage(ALL.LanguageName);
    ReloadTexts();
    UseQtTranslations(Language.Locale);
    LocaliseForm(this, true);
    UpdateSheetTexts();
    UpdateStatus();
    CloseEditors();
    BuildTree();
    ShowChannelEditor();
    // The document is the same document in other words: changes made before
    // the switch are still unsaved, so Modified stays as it was and Exit,
    // New and Open still offer to save them.
}

void TfMainFrm::OpenHelp()
{
    ShowHelpTopics(
        OpenUrl ? OpenUrl : [](const QUrl& url) { return QDesktopServices::openUrl(url); },
        HasViewer ? HasViewer : DesktopHasViewerFor);
}

void TfMainFrm::ShowAbout()
{
    TfFrmAbout dialog(this);
    dialog.exec();
}

void TfMainFrm::closeEvent(QCloseEvent* event)
{
    if (TfChsInfo* channels = ChannelEditor())
        channels->FormDeactivate();
    if (closing_ || ConfirmClose(FileName, *this)) {
        closing_ = true;
        ALL.ComPort = ComPortToSave(ALL.ComPort); // a port given on the command line is not kept
        SaveSysInfo();
        event->accept();
    } else {
        event->ignore();
    }
}

bool TfMainFrm::ApplyModelChoice(const ModelChoice& choice)
{
    if (!ChangeModel(choice.model, choice.band, FileName, *this))
        return false;
    StartUndoHistory(true);
    return true;
}
