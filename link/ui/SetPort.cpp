// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ui/SetPort.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "base/NumberText.h"
#include "core/State.h"
#include "link/PortNames.h"
#include "settings/ui/LocaliseForm.h"
#include "ui/ButtonRow.h"

namespace {
constexpr int kRowsPerColumn = 5;

// Characters 4 to 6 of a port name as a number ("COM12" gives 12).
int ButtonNumberOf(const std::string& name)
{
    return name.size() > 3 ? ParseInteger(name.substr(3, 3)).value_or(0) : 0;
}
} // namespace

TfSetPort::TfSetPort(QWidget* parent) : QDialog(parent)
{
    setObjectName("fSetPort");
    setWindowTitle("Communication Port");
    cxPort = new QGroupBox;
    cxPort->setObjectName("cxPort");
    auto* grid = new QGridLayout(cxPort);
    auto* group = new QButtonGroup(this);
    for (int n = 1; n <= kPortButtons; ++n) {
        auto* b = new QRadioButton(QString("COM%1").arg(n));
        b->setObjectName(QString("cxPort%1").arg(n));
        b->setEnabled(false);
        group->addButton(b, n);
        grid->addWidget(b, (n - 1) % kRowsPerColumn, (n - 1) / kRowsPerColumn);
        cxPorts[static_cast<size_t>(n - 1)] = b;
    }
    cxPortMore = new QRadioButton;
    cxPortMore->setObjectName("cxPortMore");
    group->addButton(cxPortMore, kPortButtons + 1);
    cbMorePorts = new QComboBox;
    cbMorePorts->setObjectName("cbMorePorts");
    SetTag(cbMorePorts, kTagNotTranslated); // port names
    // The label, not the button, carries the words, so that its key leads
    // to the list.
    auto* lbMorePorts = new QLabel("Ot&her:");
    lbMorePorts->setObjectName("lbMorePorts");
    lbMorePorts->setBuddy(cbMorePorts);
    auto* more = new QHBoxLayout;
    more->addWidget(cxPortMore);
    more->addWidget(lbMorePorts, 1);
    grid->addLayout(more, kRowsPerColumn, 0);
    grid->addWidget(cbMorePorts, kRowsPerColumn, 1, 1, (kPortButtons + kRowsPerColumn - 1) / kRowsPerColumn - 1);
    // Choosing a port in the list chooses the list.
    connect(cbMorePorts, &QComboBox::activated, cxPortMore, [this] { cxPortMore->setChecked(true); });
    btnOk = new QPushButton("&Ok");
    btnOk->setObjectName("btnOk");
    btnCancel = new QPushButton("&Cancel");
    btnCancel->setObjectName("btnCancel");
    // Not shown: the label lends its translated word to the buttons, the
    // combo box receives the list of ports.
    lbName = new QLabel("Port:", this);
    lbName->setObjectName("lbName");
    lbName->setVisible(false);
    cbCom = new QComboBox(this);
    cbCom->setObjectName("cbCom");
    SetTag(cbCom, kTagNotTranslated); // port names, filled by the window
    cbCom->setVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cxPort);
    layout->addLayout(ButtonRow({btnOk, btnCancel}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnOk, &QPushButton::clicked, this, &TfSetPort::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    FormShow();
}

void TfSetPort::FormShow()
{
    if (ALL.LanguageId > 0) {
        LocaliseForm(this, false);
        for (int n = 1; n <= kPortButtons; ++n)
            cxPorts[static_cast<size_t>(n - 1)]->setText(lbName->text() + QString::number(n));
    }
    cxPort->setTitle(windowTitle());

    cbCom->clear();
    cbMorePorts->clear();
    for (const PortDevice& p : EnumeratePorts()) {
        std::string name = PortName(p.number);
        const std::string description = PortDescription(p.device);
        const QString tip = QString::fromStdString(description.empty() ? p.device : p.device + "\n" + description);
        cbCom->addItem(QString::fromStdString(name), QString::fromStdString(p.device));
        int n = ButtonNumberOf(name);
        if (n >= 1 && n <= kPortButtons) {
            QRadioButton* b = cxPorts[static_cast<size_t>(n - 1)];
            b->setEnabled(true);
            b->setToolTip(tip);
        } else if (p.number > kPortButtons) {
            cbMorePorts->addItem(QString::fromStdString(name));
            cbMorePorts->setItemData(cbMorePorts->count() - 1, tip, Qt::ToolTipRole);
        }
    }
    cxPortMore->setEnabled(cbMorePorts->count() > 0);
    cbMorePorts->setEnabled(cbMorePorts->count() > 0);
    int current = ButtonNumberOf(ALL.ComPort);
    if (current >= 1 && current <= kPortButtons)
        cxPorts[static_cast<size_t>(current - 1)]->setChecked(true);
    if (int listed = cbMorePorts->findText(QString::fromStdString(UpperAscii(ALL.ComPort))); listed >= 0) {
        cbMorePorts->setCurrentIndex(listed);
        cxPortMore->setChecked(true);
    }
}

void TfSetPort::btnOKClick()
{
    for (int n = 1; n <= kPortButtons; ++n)
        if (cxPorts[static_cast<size_t>(n - 1)]->isChecked())
            ALL.ComPort = PortName(n);
    if (cxPortMore->isChecked() && cbMorePorts->currentIndex() >= 0)
        ALL.ComPort = cbMorePorts->currentText().toStdString();
    accept();
}
