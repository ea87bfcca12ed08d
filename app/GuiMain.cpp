// qv300: the program with its windows.
#include <QApplication>
#include <QScreen>
#include <QTimer>

#include "app/Artwork.h"
#include "app/MainFrm.h"
#include "app/State.h"
#include "settings/QtMsgBox.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("QV-300");
    QApplication::setWindowIcon(ArtworkIcon(TArtwork::Radio));
    // The data module: the global state, settings and message texts.
    DataModuleCreate(ExecutableFolder(argv[0]));
    InstallQtMsgBox();
    TfMainFrm window;
    // Without a window manager (a bare X server) maximising does nothing, so
    // the window starts at the size of the screen anyway.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
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
