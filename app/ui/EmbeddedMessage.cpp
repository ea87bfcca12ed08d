// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/EmbeddedMessage.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/ButtonRow.h"

TfEmbeddedMessage::TfEmbeddedMessage(QWidget* parent) : QDialog(parent)
{
    setObjectName("fEmbeddedMessage");
    setWindowTitle("Embedded Message");
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo2 = new QPlainTextEdit(this);
    Memo2->setObjectName("Memo2");
    // Tab goes on to the next control, as in every other window.
    Memo1->setTabChangesFocus(true);
    Memo2->setTabChangesFocus(true);
    btnCancel = new QPushButton("&Close", this);
    btnCancel->setObjectName("btnCancel");
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1);
    layout->addWidget(Memo2);
    layout->addLayout(ButtonRow({btnCancel}));
    resize(360, 280);
}
