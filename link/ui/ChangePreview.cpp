// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ui/ChangePreview.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/SafeTexts.h"
#include "settings/ui/LocaliseForm.h"
#include "ui/ButtonRow.h"

TfChangePreview::TfChangePreview(const std::vector<ContentChange>& changes, QWidget* parent, const std::string& radios)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName("fChangePreview");
    setWindowTitle(QString::fromStdString(SafeText("PreviewTitle")));
    const bool none = changes.empty();
    lRadios = new QLabel(QString::fromStdString(radios));
    lRadios->setObjectName("lRadios");
    lRadios->setWordWrap(true);
    lRadios->setVisible(!radios.empty());
    lHeading = new QLabel(QString::fromStdString(SafeText(none ? "NoChanges" : "ChangesHeading")));
    lHeading->setObjectName("lHeading");
    mChanges = new QPlainTextEdit(QString::fromStdString(none ? std::string() : ChangesText(changes)));
    mChanges->setObjectName("mChanges");
    mChanges->setReadOnly(true);
    // Wrapped: a long change line is read whole without scrolling sideways.
    mChanges->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    mChanges->setMinimumSize(520, none ? 0 : 220);
    mChanges->setVisible(!none);
    lQuestion = new QLabel(QString::fromStdString(SafeText(none ? "WriteAnyway" : "ConfirmWrite")));
    lQuestion->setObjectName("lQuestion");
    btnWrite = new QPushButton("&Write");
    btnWrite->setObjectName("btnWrite");
    btnCancel = new QPushButton("&Cancel");
    btnCancel->setObjectName("btnCancel");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lRadios);
    layout->addWidget(lHeading);
    layout->addWidget(mChanges);
    layout->addWidget(lQuestion);
    layout->addLayout(ButtonRow({btnWrite, btnCancel}));
    connect(btnWrite, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    btnCancel->setDefault(true);
    LocaliseForm(this, false);
}

bool TfChangePreview::Ask(QWidget* parent, const std::vector<ContentChange>& changes, const std::string& radios)
{
    TfChangePreview dialog(changes, parent, radios);
    return dialog.exec() == QDialog::Accepted;
}
