// qv300: the program with its windows.
#include <QApplication>
#include <QTimer>

#include "app/MainFrm.h"
#include "app/State.h"
#include "settings/QtMsgBox.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("QV-300");
    // The data module: the global state, settings and message texts.
    DataModuleCreate(ExecutableFolder(argv[0]));
    InstallQtMsgBox();
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
