// SPDX-License-Identifier: GPL-3.0-or-later
// qv300: the program with its windows.
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

#include "app/Startup.h"
#include "app/ui/Artwork.h"
#include "app/ui/MainFrm.h"
#include "base/NumberText.h"
#include "core/State.h"
#include "link/PortNames.h"
#include "link/qt/PlatformPorts.h"
#include "settings/ui/QtMsgBox.h"

namespace {
const char* const kHelp =
    "Usage: qv300 [OPTION]... [FILE.dat]\n"
    "Programs QV-300 handheld two-way radios: reads a radio's memory through a\n"
    "serial programming cable, edits its channels and settings in windows (in\n"
    "English or Chinese), saves it to a .dat data file and writes it back into\n"
    "one radio after another. FILE.dat, when given, is opened at the start.\n"
    "\n"
    "  --port COMn          use this COM port for this run (not saved)\n"
    "  --device PATH        the serial device behind that port for this run\n"
    "  --screenshot FILE    save a picture of the window to FILE (.png) and quit\n"
    "  --measure-startup    print the start time and peak memory once the window\n"
    "                       is shown, and quit\n"
    "  --help               show this help and quit\n"
    "  --version            show the version and quit\n"
    "\n"
    "Qt's own options, such as -platform NAME, work as well.\n";

// VmHWM of /proc/self/status: the most memory the process has held so far.
long PeakResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// The data file named on the command line (as a desktop's Open With passes
// it), or empty: the first argument that is neither an option nor the value
// of one. Qt has taken its own options out already.
QString FileArgument(const QStringList& args)
{
    const QStringList withValue = {"--port", "--device", "--screenshot"};
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (withValue.contains(args[i]))
            ++i;
        else if (!args[i].startsWith('-'))
            return args[i];
    }
    return {};
}
}

int main(int argc, char** argv)
{
    // Answered before Qt starts, so they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0)
            return std::printf("qv300 %s\n", QV300_VERSION) < 0;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return std::fputs(kHelp, stdout) < 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("QV-300");
    QApplication::setWindowIcon(ArtworkIcon(TArtwork::Radio));
    // The data module: the global state, settings and message texts.
    DataModuleCreate(ExecutableFolder(argv[0]));
    InstallQtMsgBox();
    TPlatformPorts devices;
    SetPortSystem(&devices);
    // --port COMn and --device PATH: the port of this run and the device
    // behind it; neither is written to SysInfo.Ini.
    {
        QStringList a = app.arguments();
        qsizetype port = a.indexOf("--port"), device = a.indexOf("--device");
        if (port > 0 && port + 1 < a.size())
            ChooseComPortForRun(ALL.ComPort, a[port + 1].toStdString());
        if (device > 0 && device + 1 < a.size())
            MapPortForRun(PortNumberOf(UpperAscii(ALL.ComPort)).value_or(1), a[device + 1].toStdString());
    }
    TfMainFrm window;
    // Without a window manager (a bare X server) maximising does nothing, so
    // the window starts at the size of the screen anyway.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();

    if (const QString file = FileArgument(app.arguments()); !file.isEmpty())
        QTimer::singleShot(0, &window, [&window, file] { window.OpenPath(file.toStdString()); });

    // --screenshot FILE.png: save a picture of the window once it is shown,
    // then quit without the close questions (for the documentation).
    const QStringList args = app.arguments();
    qsizetype shot = args.indexOf("--screenshot");
    if (shot > 0 && shot + 1 < args.size()) {
        QString file = args[shot + 1];
        QTimer::singleShot(500, &window, [&window, file] {
            window.grab().save(file);
            std::_Exit(0);
        });
    }
    // --measure-startup: once the window and its channel editor are on the
    // screen, print the monotonic clock and the peak memory so far, and
    // quit (tools/measure-startup.py reads them).
    if (args.contains("--measure-startup")) {
        QTimer::singleShot(0, &window, [] {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::printf("shown_monotonic_s=%lld.%09ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
            std::printf("peak_rss_kb=%ld\n", PeakResidentKilobytes());
            std::fflush(stdout);
            std::_Exit(0);
        });
    }
    return app.exec();
}
