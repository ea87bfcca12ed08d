// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the two screenshot programs share: the application set-up, the
// program's start-up with the folder given by --app-path, and saving a
// picture with a line saying so.
#include <QApplication>
#include <QPixmap>
#include <QString>
#include <string>

// Application name and icon as qv300 sets them.
void SetUpShotApplication();
// The folder of the settings and language files: --app-path DIR, or the
// executable's folder.
std::string ShotAppPath(const QStringList& args, const char* argv0);
// The program's start-up in that folder; every message is printed and
// answered with `answer`, so nothing stops for a question.
void StartForShots(const std::string& appPath, int answer);
bool SavePicture(const QPixmap& picture, const QString& file);
