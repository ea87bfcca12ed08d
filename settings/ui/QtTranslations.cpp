// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool UseQtTranslations(const std::string& locale)
{
    // One translator for the program's life, emptied and refilled on every
    // language switch; installing it again makes the open windows relabel
    // Qt's texts.
    static QTranslator* translator = new QTranslator(QCoreApplication::instance());
    QCoreApplication::removeTranslator(translator);
    if (locale.empty())
        return false;
    const QString name = "qtbase_" + QString::fromStdString(locale);
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator);
    return true;
}
