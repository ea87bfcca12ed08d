// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ui/LinkDialog.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/State.h"
#include "document/RadioContents.h"
#include "link/qt/PlatformSerialPort.h"
#include "link/qt/QtLinkClock.h"
#include "link/ui/Doctor.h"
#include "settings/MsgBox.h"
#include "settings/ui/LocaliseForm.h"
#include "ui/ButtonRow.h"

namespace {
LinkPartsFactory& Factory()
{
    static LinkPartsFactory factory;
    return factory;
}

} // namespace

LinkParts MakeLinkParts()
{
    if (Factory())
        return Factory()();
    return {std::make_unique<TPlatformSerialPort>(), std::make_unique<TQtLinkClock>()};
}

LinkPartsFactory SetLinkPartsFactory(LinkPartsFactory factory)
{
    LinkPartsFactory previous = std::move(Factory());
    Factory() = std::move(factory);
    return previous;
}

TfLinkDialog::TfLinkDialog(const LinkJob& job, const LinkWindowPolicy& policy, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      parts_(MakeLinkParts())
{
    pBar = new QProgressBar;
    pBar->setObjectName("pBar");
    pBar->setTextVisible(false);
    pBar->setMinimumWidth(300);
    btnOk = new QPushButton("&Ok");
    btnOk->setObjectName("btnOk");
    btnCancel = new QPushButton("&Cancel");
    btnCancel->setObjectName("btnCancel");
    // The traffic log is kept for whoever needs to look at a failed
    // exchange; it is not part of the visible window.
    mr = new QPlainTextEdit(this);
    mr->setObjectName("mr");
    mr->setReadOnly(true);
    mr->setVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pBar);
    layout->addLayout(ButtonRow({btnOk, btnCancel}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    link_ = std::make_unique<TRadioLink>(job, policy, *parts_.port, *parts_.clock, *this);
    connect(btnOk, &QPushButton::clicked, this, &TfLinkDialog::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TfLinkDialog::~TfLinkDialog()
{
    if (!closed_)
        link_->Close();
    link_.reset();
}

void TfLinkDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TfLinkDialog::FormShow()
{
    LocaliseForm(this, false);
    // The bar, which draws no text, is what a screen reader reports the
    // progress of: named after what the window does.
    pBar->setAccessibleName(windowTitle());
    link_->Open(ALL.ComPort, {ALL.BaudRate, ALL.IdentString});
}

void TfLinkDialog::btnOkClick()
{
    link_->Start();
}

void TfLinkDialog::ShowProgress(int position, int maximum)
{
    pBar->setMaximum(maximum);
    pBar->setValue(position);
}

void TfLinkDialog::EnableOk(bool enabled)
{
    btnOk->setEnabled(enabled);
}

void TfLinkDialog::ClearLog()
{
    mr->clear();
}

void TfLinkDialog::LogLine(const std::string& line)
{
    mr->appendPlainText(QString::fromStdString(line));
}

void TfLinkDialog::Finished(const LinkOutcome& outcome)
{
    // Only a complete read changes the document, and it is in place before
    // its success is shown.
    if (outcome.result == LinkResult::Succeeded && !outcome.write)
        TakeReadIntoDocument(link_->ReceivedModelCode(), outcome.bytes);
    // A failure on the line offers the connection doctor.
    if (outcome.result == LinkResult::Failed && LineFailure(outcome.failure)) {
        if (MsgBox(Language.Confirmation, MessageText(outcome), kMsgConnection) == kMsgCheckConnection)
            OpenDoctorLater();
        return;
    }
    ShowOutcome(outcome);
}

void TfLinkDialog::CloseWindow()
{
    done(link_->ReadSucceeded() ? QDialog::Accepted : QDialog::Rejected);
}

void TfLinkDialog::done(int result)
{
    closed_ = true;
    link_->Close();
    QDialog::done(result);
}
