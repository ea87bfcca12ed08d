// qv300: the program with its windows.
#include <QApplication>
#include <QTimer>

#include "app/MainFrm.h"
#include "app/State.h"
#include "link/DevicePorts.h"
#include "link/PortNames.h"
#include "app/NumberText.h"
#include "settings/QtMsgBox.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("QV-300");
    // The data module: the global state, settings and message texts.
    DataModuleCreate(ExecutableFolder(argv[0]));
    InstallQtMsgBox();
    TDevicePorts devices;
    SetPortSystem(&devices);
    // --port COMn and --device PATH: the port of this run and the device
    // behind it; neither is written to SysInfo.Ini.
    {
        QStringList a = app.arguments();
        qsizetype port = a.indexOf("--port"), device = a.indexOf("--device");
        if (port > 0 && port + 1 < a.size())
            ChooseComPortForRun(a[port + 1].toStdString());
        if (device > 0 && device + 1 < a.size())
            MapPortForRun(PortNumberOf(UpperAscii(ALL.ComPort)).value_or(1), a[device + 1].toStdString());
    }
    TfMainFrm window;
    window.showMaximized();

    // --screenshot FILE.png: save a picture of the window once it is shown,
    // then quit without the close questions (for the documentation).
    QStringList args = app.arguments();
    qsizetype shot = args.indexOf("--screenshot");
    if (shot > 0 && shot + 1 < args.size()) {
        QString file = args[shot + 1];
        QTimer::singleShot(500, &window, [&window, file] {
            window.grab().save(file);
            std::_Exit(0);
        });
    }
    return app.exec();
}
