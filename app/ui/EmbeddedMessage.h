// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The embedded message dialog (command 18): two text boxes to look at
// messages in. It changes nothing in the document.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class TfEmbeddedMessage : public QDialog {
    Q_OBJECT
public:
    explicit TfEmbeddedMessage(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    QPushButton* btnCancel = nullptr;
};
