// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The preview of a write: what the write will change in the radio, in
// words, and the question whether to write.
#include <QDialog>
#include <vector>

#include "document/ContentsDiff.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TfChangePreview : public QDialog {
    Q_OBJECT
public:
    // `radios` names the radios the preview is for, when there are several.
    TfChangePreview(const std::vector<ContentChange>& changes, QWidget* parent = nullptr,
                    const std::string& radios = {});

    // Shows the preview and waits: true when the user chose to write.
    static bool Ask(QWidget* parent, const std::vector<ContentChange>& changes, const std::string& radios = {});

    QLabel* lRadios = nullptr;
    QLabel* lHeading = nullptr;
    QPlainTextEdit* mChanges = nullptr;
    QLabel* lQuestion = nullptr;
    QPushButton* btnWrite = nullptr;
    QPushButton* btnCancel = nullptr;
};
