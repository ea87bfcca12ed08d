// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The language dialog: picks one of the languages listed in SysInfo.Ini.
// It changes LanguageName and LanguageId only; the main window reloads the
// texts when Changed is set after the dialog closed.
#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

class TfSetLanguage : public QDialog {
    Q_OBJECT
public:
    explicit TfSetLanguage(QWidget* parent = nullptr);

    void FormShow();
    void btnOkClick();
    void btnCancelClick();

    bool Changed = false;

    QLabel* lbName = nullptr;
    QComboBox* cbLanguage = nullptr;
    QListWidget* Language = nullptr; // hidden: the names the files are named by
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
};
