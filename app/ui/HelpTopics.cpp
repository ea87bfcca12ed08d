#include "app/ui/HelpTopics.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>

#include "core/State.h"
#include "settings/Language.h"
#include "settings/MsgBox.h"

namespace {
// The desktop hands any file to xdg-open and reports success as soon as
// xdg-open has started, whether a program takes the file or not; so the CHM
// file is only handed over when the desktop names a program for its type.
bool DesktopCanShow(const QString& path)
{
    const QString type = QMimeDatabase().mimeTypeForFile(path).name();
    QProcess query;
    query.start("xdg-mime", {"query", "default", type});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished(1000);
        return false;
    }
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}
}

QString HelpGuidePath()
{
    const QString help = QString::fromStdString(ALL.AppPath) + "help/";
    QString language = QString::fromStdString(Language.Locale).section('_', 0, 0);
    if (language.isEmpty() || !QFileInfo::exists(help + language + "/index.html"))
        language = "en";
    return help + language + "/index.html";
}

void ShowHelpTopics(const std::function<bool(const QUrl&)>& open)
{
    const QString chm = QString::fromStdString(ALL.AppPath + "_" + ALL.LanguageName + ".chm");
    if (QFileInfo::exists(chm) && DesktopCanShow(chm) && open(QUrl::fromLocalFile(chm)))
        return;
    const QString guide = HelpGuidePath();
    if (QFileInfo::exists(guide) && open(QUrl::fromLocalFile(guide)))
        return;
    MsgBox(Language.Caution, Language.HelpNotShown + "\n" + guide.toStdString(), kMsgInformation);
}
