// The main window's commands: RunCommand and the dialogs it opens.
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTreeWidget>
#include <QUrl>

#include "app/ui/AboutDlg.h"
#include "app/ui/EmbeddedMessage.h"
#include "app/ui/MainFrm.h"
#include "app/ui/ModelDlg.h"
#include "core/State.h"
#include "editors/ui/ChsInfo.h"
#include "link/PortNames.h"
#include "link/ui/ReadRadio.h"
#include "link/ui/SetPort.h"
#include "link/ui/WriteRadio.h"
#include "settings/Language.h"
#include "settings/ui/LocaliseForm.h"
#include "settings/ui/SetLanguageDlg.h"
#include "settings/SysInfo.h"

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

void TfMainFrm::RunCommand(int command)
{
    // A frequency still being typed belongs to the document before any
    // command looks at it (Ctrl+S in the middle of an edit must save it).
    if (fChsInfo)
        fChsInfo->FormDeactivate();
    cxTree->setFocus();
    switch (command) {
    case 1:
        NewDocument(FileName, *this);
        break;
    case 2:
        OpenDocument(FileName, *this);
        break;
    case 3:
        SaveDocument(FileName, *this);
        break;
    case 4:
        FileName.clear();
        SaveDocument(FileName, *this);
        break;
    case 10:
    case 11:
        ShowChannelEditor();
        break;
    case 20: {
        TfReadRadio dialog(this);
        dialog.exec();
        if (dialog.ReadSucceeded()) {
            FileName.clear();
            UpdateStatus();
            RefreshEditors();
        }
        break;
    }
    case 21: {
        TfWriteRadio dialog(this);
        dialog.exec();
        break;
    }
    case 31: {
        TfSetPort dialog(this);
        dialog.exec();
        UpdateStatus();
        break;
    }
    case 12:
    case 13:
    case 14:
    case 15:
    case 17:
    case 19:
        ShowEditor(command);
        break;
    case 30: {
        TfModel dialog(this);
        if (dialog.exec() == QDialog::Accepted)
            ApplyModelChoice(dialog);
        break;
    }
    case 18: {
        TfEmbeddedMessage dialog(this);
        dialog.exec();
        break;
    }
    case 32:
        ChangeLanguage();
        break;
    case 50:
        mdi->cascadeSubWindows();
        break;
    case 51:
    case 52:
        mdi->tileSubWindows();
        break;
    case 53:
        break; // minimised child windows line up by themselves
    case 54: {
        QList<QMdiSubWindow*> windows = mdi->subWindowList(QMdiArea::CreationOrder);
        for (auto it = windows.rbegin(); it != windows.rend(); ++it)
            (*it)->close();
        break;
    }
    case 60:
        OpenHelp();
        break;
    case 61:
        ShowAbout();
        break;
    default:
        // The numbers of hidden menu items without a command (6, 8, 16, 22).
        break;
    }
}

void TfMainFrm::ChangeLanguage()
{
    TfSetLanguage dialog(this);
    dialog.exec();
    if (!dialog.Changed)
        return;
    LoadLanguage(ALL.LanguageName);
    LocaliseForm(this, true);
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
    // A help viewer already showing the help ("_Help") cannot be found from
    // here on Linux desktops: window titles of other programs are not ours
    // to enumerate under Wayland. The desktop's viewer handles a second open.
    QString path = QString::fromStdString(ALL.AppPath + "_" + ALL.LanguageName + ".chm");
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void TfMainFrm::ShowAbout()
{
    TfFrmAbout dialog(this);
    dialog.exec();
}

void TfMainFrm::closeEvent(QCloseEvent* event)
{
    if (fChsInfo)
        fChsInfo->FormDeactivate();
    if (closing_ || ConfirmClose(FileName, *this)) {
        closing_ = true;
        ALL.ComPort = ComPortToSave(); // a port given on the command line is not kept
        SaveSysInfo();
        event->accept();
    } else {
        event->ignore();
    }
}

bool TfMainFrm::ApplyModelChoice(const TfModel& dialog)
{
    return ChangeModel(dialog.cbCopmut->currentText().toStdString(), dialog.cbPd->currentText().toStdString(),
                       FileName, *this);
}
