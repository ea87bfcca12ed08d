// SPDX-License-Identifier: GPL-3.0-or-later
// qv300-a11y-windows: the main window with every editor, and every dialog of
// the program, all shown at once and none of them modal, for a screen
// reader's view of them (tests/a11y/walk.sh walks them over AT-SPI).
//
//   qv300-a11y-windows APP_PATH
//
// APP_PATH holds the settings and language files (its SysInfo.Ini chooses
// the language). It prints "ready" once everything is shown and quits when
// its standard input ends, or after two minutes whatever happens.
// A line "combo" on its input opens a drop-down of the channel grid.
#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>
#include <vector>

#include "app/Startup.h"
#include "app/ui/AboutDlg.h"
#include "app/ui/BackupsDlg.h"
#include "app/ui/MainFrm.h"
#include "app/ui/ModelDlg.h"
#include "core/State.h"
#include "editors/ui/ChsInfo.h"
#include "image/ChannelCodec.h"
#include "link/FakeLink.h"
#include "link/PortNames.h"
#include "link/SystemView.h"
#include "link/ui/ChangePreview.h"
#include "link/ui/Doctor.h"
#include "link/ui/FleetWrite.h"
#include "link/ui/LinkDialog.h"
#include "link/ui/ReadRadio.h"
#include "link/ui/SetPort.h"
#include "link/ui/WriteRadio.h"
#include "settings/Folders.h"
#include "settings/MsgBox.h"
#include "settings/ui/SetLanguageDlg.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("QV-300");
    if (argc != 2) {
        std::fprintf(stderr, "usage: qv300-a11y-windows APP_PATH\n");
        return 2;
    }
    const std::string appPath = std::string(argv[1]) + "/";
    DataModuleCreate(appPath);
    // Nothing may wait for an answer, and no link may reach a device.
    SetMsgBoxHandler([](const std::string&, const std::string& text, int) {
        std::fprintf(stderr, "message: %s\n", text.c_str());
        return static_cast<int>(kMsgNo);
    });
    // The read and write windows stay open on a port that opens and a radio
    // that never answers, on a clock that never runs out.
    SetLinkPartsFactory([] {
        auto clock = std::make_unique<FakeClock>();
        auto port = std::make_unique<FakePort>(*clock);
        return LinkParts{std::move(port), std::move(clock)};
    });
    ChooseComPortForRun(ALL.ComPort, "COM1");
    MapPortForRun(1, appPath + "no-radio");
    SetBackupFolder(appPath + "backups");

    TfMainFrm window;
    window.show();
    InitChannel(1, "446.00625");
    InitChannel(3, "433.50000");
    EncodeChannelField(3, 4, "88.5");
    window.RefreshEditors();
    for (Command c :
         {Command::ChannelInformation, Command::KeyFunction, Command::VoxFunction, Command::OptionalFunction,
          Command::ScanInformation, Command::DtmfInformation, Command::RadioInformation})
        window.ShowEditor(c);
    // The import report, as an import of a file with a fault shows it.
    const std::string csv = appPath + "far.csv";
    if (FILE* f = std::fopen(csv.c_str(), "w")) {
        std::fputs("Location,Frequency\n1,999.0\n", f);
        std::fclose(f);
    }
    window.ImportPath(csv, Command::ImportCsv, false);

    TEmptySystemView noMachine;
    std::vector<std::unique_ptr<QDialog>> dialogs;
    dialogs.push_back(std::make_unique<TfFleetWrite>());
    dialogs.push_back(std::make_unique<TfBackups>());
    dialogs.push_back(std::make_unique<TfDoctor>(nullptr, &noMachine));
    dialogs.push_back(std::make_unique<TfChangePreview>(std::vector<ContentChange>{}));
    dialogs.push_back(std::make_unique<TfWriteRadio>());
    dialogs.push_back(std::make_unique<TfReadRadio>());
    dialogs.push_back(std::make_unique<TfSetPort>());
    dialogs.push_back(std::make_unique<TfSetLanguage>());
    dialogs.push_back(std::make_unique<TfModel>());
    dialogs.push_back(std::make_unique<TfFrmAbout>());
    for (auto& dialog : dialogs)
        dialog->show();
    QApplication::processEvents();

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    // A line "combo" on the input opens the tone list of channel 3 over its
    // cell, as a click does, in the active main window: the list takes the
    // focus, and a screen reader hears of it by the focus event.
    QObject::connect(&input, &QSocketNotifier::activated, [&input, &window] {
        char buffer[256];
        const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            input.setEnabled(false);
            QApplication::quit();
        } else if (std::string(buffer, static_cast<size_t>(got)).find("combo") != std::string::npos) {
            TfChsInfo* grid = window.ChannelEditor();
            window.activateWindow();
            window.mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(grid->parentWidget()));
            grid->gvChsMouseDown(2, grid->ColumnOfField(4));
        }
    });
    QTimer::singleShot(120000, [] { QApplication::exit(3); });
    std::printf("ready\n");
    std::fflush(stdout);
    const int code = QApplication::exec();
    // Closing the main window would ask about the unsaved document.
    std::_Exit(code);
}
