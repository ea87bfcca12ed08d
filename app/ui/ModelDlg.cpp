// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/ModelDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "core/State.h"
#include "settings/ui/LocaliseForm.h"
#include "ui/ButtonRow.h"

namespace {
void SelectText(QComboBox* combo, const std::string& text)
{
    int i = combo->findText(QString::fromStdString(text));
    combo->setCurrentIndex(i >= 0 ? i : 0);
}
}

TfModel::TfModel(QWidget* parent) : QDialog(parent)
{
    setObjectName("fModel");
    setWindowTitle("Model Information");
    Label1 = new QLabel("&Model Type: ");
    Label1->setObjectName("Label1");
    cbCopmut = new QComboBox;
    cbCopmut->setObjectName("cbCopmut");
    // Model names and band texts are found in the catalogue by their text:
    // a language file must not rename them.
    SetTag(cbCopmut, kTagNotTranslated);
    Label2 = new QLabel("&Frequency: ");
    Label2->setObjectName("Label2");
    cbPd = new QComboBox;
    cbPd->setObjectName("cbPd");
    SetTag(cbPd, kTagNotTranslated);
    btnOk = new QPushButton("&Ok");
    btnOk->setObjectName("btnOk");
    btnCancel = new QPushButton("&Cancel");
    btnCancel->setObjectName("btnCancel");

    Label1->setBuddy(cbCopmut);
    Label2->setBuddy(cbPd);
    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(cbCopmut, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(cbPd, 1, 1);
    grid->addLayout(ButtonRow({btnOk, btnCancel}), 2, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(cbCopmut, &QComboBox::activated, this, [this] { cbCopmutChange(); });
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    FormShow();
}

std::optional<ModelChoice> TfModel::Choose(QWidget* parent)
{
    TfModel dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choice();
}

ModelChoice TfModel::Choice() const
{
    return {cbCopmut->currentText().toStdString(), cbPd->currentText().toStdString()};
}

void TfModel::FormShow()
{
    std::vector<std::string> names;
    MacList.FillNames(names);
    cbCopmut->clear();
    for (const auto& n : names)
        cbCopmut->addItem(QString::fromStdString(n));
    LocaliseForm(this, false);
    SelectText(cbCopmut, ALL.ModelName);
    cbCopmutChange();
    SelectText(cbPd, ALL.BandText);
    setResult(QDialog::Rejected);
}

void TfModel::cbCopmutChange()
{
    cbPd->clear();
    const TMacType* entry = MacList.FindByName(cbCopmut->currentText().toStdString());
    if (!entry)
        return;
    for (const auto& band : entry->Bands)
        cbPd->addItem(QString::fromStdString(band));
    SelectText(cbPd, entry->DefaultBand);
}
