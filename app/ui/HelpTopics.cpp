// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/HelpTopics.h"

#include <QFileInfo>

#include "core/State.h"
#include "settings/Language.h"
#include "settings/MsgBox.h"

QString HelpGuidePath()
{
    const QString help = QString::fromStdString(ALL.AppPath) + "help/";
    QString language = QString::fromStdString(Language.Locale).section('_', 0, 0);
    if (language.isEmpty() || !QFileInfo::exists(help + language + "/index.html"))
        language = "en";
    return help + language + "/index.html";
}

void ShowHelpTopics(const std::function<bool(const QUrl&)>& open, const std::function<bool(const QString&)>& hasViewer)
{
    // The CHM file only when some program will show it: see DesktopHasViewerFor.
    const QString chm = QString::fromStdString(ALL.AppPath + "_" + ALL.LanguageName + ".chm");
    if (QFileInfo::exists(chm) && hasViewer(chm) && open(QUrl::fromLocalFile(chm)))
        return;
    const QString guide = HelpGuidePath();
    if (QFileInfo::exists(guide) && open(QUrl::fromLocalFile(guide)))
        return;
    MsgBox(Language.Caution, Language.HelpNotShown + "\n" + guide.toStdString(), kMsgInformation);
}
