// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShotSupport.h"

#include <QDir>
#include <cstdio>

#include "app/Startup.h"
#include "app/ui/Artwork.h"
#include "core/State.h"
#include "settings/MsgBox.h"

void SetUpShotApplication()
{
    QApplication::setApplicationName("QV-300");
    QApplication::setWindowIcon(ArtworkIcon(TArtwork::Radio));
}

std::string ShotAppPath(const QStringList& args, const char* argv0)
{
    const qsizetype at = args.indexOf("--app-path");
    if (at > 0 && at + 1 < args.size())
        return QDir(args[at + 1]).absolutePath().toStdString() + "/";
    return ExecutableFolder(argv0);
}

void StartForShots(const std::string& appPath, int answer)
{
    DataModuleCreate(appPath);
    SetMsgBoxHandler([answer](const std::string&, const std::string& text, int) {
        std::fprintf(stderr, "message: %s\n", text.c_str());
        return answer;
    });
}

bool SavePicture(const QPixmap& picture, const QString& file)
{
    const bool ok = picture.save(file);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(file));
    return ok;
}
