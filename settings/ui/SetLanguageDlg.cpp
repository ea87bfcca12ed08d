// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ui/SetLanguageDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "ui/ButtonRow.h"
#include "core/State.h"
#include "settings/ui/LocaliseForm.h"
#include "settings/SysInfo.h"

TfSetLanguage::TfSetLanguage(QWidget* parent) : QDialog(parent)
{
    setObjectName("fSetLanguage");
    setWindowTitle("Language File Setup");
    lbName = new QLabel("&Language Mode: ", this);
    lbName->setObjectName("lbName");
    cbLanguage = new QComboBox(this);
    cbLanguage->setObjectName("cbLanguage");
    cbLanguage->setMinimumWidth(160);
    SetTag(cbLanguage, kTagNotTranslated);
    lbName->setBuddy(cbLanguage);
    Language = new QListWidget(this);
    Language->setObjectName("Language");
    Language->hide();
    btnOk = new QPushButton("&Ok", this);
    btnOk->setObjectName("btnOk");
    btnOk->setDefault(true);
    btnCancel = new QPushButton("&Cancel", this);
    btnCancel->setObjectName("btnCancel");

    auto* layout = new QGridLayout(this);
    layout->addWidget(lbName, 0, 0);
    layout->addWidget(cbLanguage, 0, 1);
    layout->addLayout(ButtonRow({btnOk, btnCancel}), 1, 0, 1, 2);
    setSizeGripEnabled(false);

    connect(btnOk, &QPushButton::clicked, this, &TfSetLanguage::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfSetLanguage::btnCancelClick);
    FormShow();
}

void TfSetLanguage::FormShow()
{
    cbLanguage->clear();
    Language->clear();
    std::vector<std::string> displayNames;
    std::vector<std::string> fileNames;
    ReadLanguageList(displayNames, fileNames);
    for (const std::string& name : displayNames)
        cbLanguage->addItem(QString::fromStdString(name));
    for (const std::string& name : fileNames)
        Language->addItem(QString::fromStdString(name));
    LocaliseForm(this, false);
    cbLanguage->setCurrentIndex(ALL.LanguageId < cbLanguage->count() ? ALL.LanguageId : -1);
    Changed = false;
}

void TfSetLanguage::btnOkClick()
{
    const int selected = cbLanguage->currentIndex();
    // A display name without a file name behind it cannot be loaded; the
    // current language stays.
    if (selected >= 0 && selected != ALL.LanguageId && selected < Language->count()) {
        Changed = true;
        ALL.LanguageName = Language->item(selected)->text().toStdString();
        ALL.LanguageId = selected;
    }
    accept();
}

void TfSetLanguage::btnCancelClick()
{
    reject();
}
