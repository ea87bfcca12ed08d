// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts Qt itself puts into the windows (the file dialogs, the buttons
// of message boxes) in the language of the current language file.
#include <string>

// Replaces Qt's translations by those of `locale` ("zh_CN": qtbase_zh_CN.qm
// from Qt's translations folder). An empty locale, or one Qt has no
// translations for, leaves Qt's English. True when translations were loaded.
bool UseQtTranslations(const std::string& locale);
