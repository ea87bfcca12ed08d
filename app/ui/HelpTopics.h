// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Help Topics: the compiled help (_<language>.chm) where the desktop has a
// viewer for it, else the HTML user guide of the current language in the
// desktop's browser, else a message that names the guide. Most Linux
// desktops have no CHM viewer, so the guide is the usual way there; Windows
// opens the CHM, as the program always did there.
#include <QString>
#include <QUrl>
#include <functional>

// The start page of the HTML guide for the current language: AppPath +
// "help/<language>/index.html", where <language> is the first part of the
// language file's Locale ("zh" of "zh_CN") and "en" without one. A language
// without a guide of its own gets the English one.
QString HelpGuidePath();

// True when the desktop names a program for the type of the file at `path`
// (xdg-mime on Linux, the file associations on Windows, where the CHM
// viewer comes with the system). Opening a file itself reports success as
// soon as xdg-open has started, whether a program takes the file or not.
bool DesktopHasViewerFor(const QString& path);

// Shows the help through `open`, which hands a file to the desktop and says
// whether it could; `hasViewer` tells whether the desktop can show a file
// (DesktopHasViewerFor).
void ShowHelpTopics(const std::function<bool(const QUrl&)>& open, const std::function<bool(const QString&)>& hasViewer);
