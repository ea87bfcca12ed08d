// SPDX-License-Identifier: GPL-3.0-or-later
// qv300-screenshots: pictures of the program's windows for the README and
// the user guide, taken from the real window classes with a sample document.
//
//   qv300-screenshots OUTDIR [--app-path DIR]
//
// DIR is the folder the program's settings and language files are read from
// (default: this executable's folder, which holds the language files), so a
// SysInfo.Ini there with another Language_ID gives the pictures in that
// language.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QTableWidget>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>

#include "app/ui/AboutDlg.h"
#include "app/ui/BackupsDlg.h"
#include "core/ImageLayout.h"
#include "document/Backups.h"
#include "document/RadioContents.h"
#include "settings/Folders.h"
#include "ShotSupport.h"
#include "app/ui/MainFrm.h"
#include "app/ui/ModelDlg.h"
#include "core/State.h"
#include "document/DocumentFiles.h"
#include "editors/ui/ChsInfo.h"
#include "image/ChannelCodec.h"
#include "image/formats/PrintContent.h"
#include "image/formats/qt/PrintPainter.h"
#include "link/ui/Doctor.h"
#include "settings/Language.h"
#include "settings/MsgBox.h"
#include "settings/ui/QtMsgBox.h"

namespace {

// A handful of channels as a user would type them.
void FillSampleChannels()
{
    struct Sample {
        const char* rx;
        const char* tx;
        const char* rxTone;
        const char* txTone;
    };
    const Sample samples[] = {
        {"446.00625", "446.00625", "", "67.0"},     {"446.01875", "446.01875", "D023N", "D023N"},
        {"433.50000", "438.50000", "88.5", "88.5"}, {"462.56250", "467.56250", "", ""},
        {"409.75000", "409.75000", "", "131.8"},
    };
    int n = 1;
    for (const Sample& s : samples) {
        InitChannel(n, s.rx);
        EncodeChannelField(n, 3, s.tx);
        EncodeChannelField(n, 4, s.rxTone);
        EncodeChannelField(n, 5, s.txTone);
        ++n;
    }
    EncodeChannelField(2, 6, "0"); // low power
    EncodeChannelField(3, 7, "0"); // narrow
}

bool Save(QWidget* widget, const QString& file)
{
    return SavePicture(widget->grab(), file);
}

// A message box as MsgBox shows it, shown without waiting for an answer.
bool SaveMessage(QWidget* owner, const std::string& text, int kind, const QString& file)
{
    std::unique_ptr<QMessageBox> box = MakeQtMsgBox(owner, Language.Confirmation, text, kind);
    box->show();
    QApplication::processEvents();
    return Save(box.get(), file);
}

// Qt's dialogs and the program's boxes in the current language: the save
// dialog, the question before a document is replaced, and the message of a
// save that failed.
bool SaveDialogs(QWidget* window, const QString& out)
{
    QTemporaryDir folder;
    QFile(folder.filePath("radio.dat")).open(QIODevice::WriteOnly);
    QFileDialog dialog(window);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter("Data File(*.dat)");
    dialog.setDirectory(folder.path());
    dialog.show();
    QApplication::processEvents();
    bool ok = Save(&dialog, out + "/save-dialog.png");
    dialog.hide();

    ok = SaveMessage(window, Language.SaveProgram, kMsgQuestion, out + "/save-question.png") && ok;
    std::string error;
    MsgBoxHandler previous = SetMsgBoxHandler([&error](const std::string&, const std::string& text, int) {
        error = text;
        return static_cast<int>(kMsgOk);
    });
    SaveDocumentFile("/nonexistent/radio.dat");
    SetMsgBoxHandler(previous);
    return SaveMessage(window, error, kMsgInformation, out + "/file-error.png") && ok;
}

// Several channels selected in the grid, with the context menu of the
// selection open over it, drawn into one picture of the main window.
bool SaveSelection(TfMainFrm* window, const QString& file)
{
    TfChsInfo* grid = window->ChannelEditor();
    if (!grid)
        return false;
    ALL.CurrentChannel = 2;
    grid->SelectChannels({2, 3, 4});
    window->SelectChannelNode();
    QApplication::processEvents();
    QMenu menu(grid);
    menu.addActions(window->SheetActions());
    const QRect cell = grid->gvChs->visualItemRect(grid->gvChs->item(3, 2));
    menu.popup(grid->gvChs->viewport()->mapToGlobal(cell.center()));
    QApplication::processEvents();
    QPixmap picture = window->grab();
    QPainter painter(&picture);
    painter.drawPixmap(window->mapFromGlobal(menu.pos()), menu.grab());
    painter.end();
    menu.hide();
    return SavePicture(picture, file);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    SetUpShotApplication();
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: qv300-screenshots OUTDIR [--app-path DIR]\n");
        return 1;
    }
    const QString out = args[1];
    QDir().mkpath(out);
    // Nothing here may stop for a question.
    StartForShots(ShotAppPath(args, argv[0]), kMsgNo);

    TfMainFrm window;
    window.resize(1100, 640);
    window.show();
    QApplication::processEvents();
    FillSampleChannels();
    window.RefreshEditors();
    QApplication::processEvents();

    bool ok = Save(&window, out + "/main-window.png");
    ok = SaveSelection(&window, out + "/channel-selection.png") && ok;

    TfModel model(&window);
    model.show();
    QApplication::processEvents();
    ok = Save(&model, out + "/model-dialog.png") && ok;
    model.hide();

    TfFrmAbout about(&window);
    about.show();
    QApplication::processEvents();
    ok = Save(&about, out + "/about.png") && ok;
    about.hide();

    ok = SaveDialogs(&window, out) && ok;
    // File > Backups: two radios, one of them backed up twice within a
    // minute with the same contents, and once more after a change.
    {
        QTemporaryDir folder;
        SetBackupFolder(folder.path().toStdString());
        RadioContents radio = DocumentContents();
        const std::time_t when = 1796040000; // a fixed moment, so the picture does not change by itself
        for (const char* serial : {"QV30A1027", "QV30B0311"}) {
            std::copy_n(serial, 9, radio.image.begin() + kSerialNumber);
            SaveBackup(radio, BackupFolder(), when, nullptr);
            SaveBackup(radio, BackupFolder(), when + 41, nullptr);
        }
        radio.image[kSerialNumber + 16] ^= 1;
        SaveBackup(radio, BackupFolder(), when + 3600, nullptr);
        TfBackups backups(&window);
        backups.show();
        QApplication::processEvents();
        ok = Save(&backups, out + "/backups.png") && ok;
        backups.hide();
    }
    // The connection doctor on this machine, as Setup > Check Connection shows it.
    TfDoctor doctor(&window);
    doctor.show();
    QApplication::processEvents();
    ok = Save(&doctor, out + "/check-connection.png") && ok;
    doctor.hide();

    // Every other editor the main window can open, one picture each.
    const struct {
        Command command;
        const char* file;
    } editors[] = {{Command::KeyFunction, "key-function"},           {Command::VoxFunction, "vox-function"},
                   {Command::OptionalFunction, "optional-function"}, {Command::RadioInformation, "radio-information"},
                   {Command::DtmfInformation, "dtmf-information"},   {Command::ScanInformation, "scan-information"}};
    for (const auto& editor : editors) {
        window.CloseEditors();
        window.RunCommand(editor.command);
        QApplication::processEvents();
        QMdiSubWindow* sub = window.mdi->activeSubWindow();
        if (sub && sub->widget())
            ok = Save(sub, out + "/" + editor.file + ".png") && ok;
    }
    // File > Print: the preview of the pages.
    {
        window.CloseEditors();
        const PrintContent content = ComposePrint("radio.dat");
        QPrinter printer(QPrinter::HighResolution);
        QPrintPreviewDialog preview(&printer, &window);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                         [&content](QPrinter* target) { PaintPrint(*target, content); });
        preview.resize(900, 760);
        preview.show();
        QApplication::processEvents();
        ok = Save(&preview, out + "/print-preview.png") && ok;
        preview.hide();
    }
    std::fflush(stdout);
    // Leave without the close questions and without writing SysInfo.Ini.
    std::_Exit(ok ? 0 : 2);
}
