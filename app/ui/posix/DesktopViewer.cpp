// SPDX-License-Identifier: GPL-3.0-or-later
// Linux: the desktop's file types as xdg-mime knows them.
#include <QMimeDatabase>
#include <QProcess>

#include "app/ui/HelpTopics.h"

bool DesktopHasViewerFor(const QString& path)
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
