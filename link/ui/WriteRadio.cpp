// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ui/WriteRadio.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/State.h"
#include "document/FleetTexts.h"
#include "document/RadioContents.h"
#include "document/SafeTexts.h"
#include "link/ui/ChangePreview.h"
#include "link/ui/Doctor.h"
#include "settings/Folders.h"
#include "settings/MsgBox.h"
#include "settings/SysInfo.h"
#include "settings/ui/LocaliseForm.h"
#include "ui/ButtonRow.h"

namespace {
ChangePreview& Preview()
{
    static ChangePreview preview;
    return preview;
}

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}
} // namespace

ChangePreview SetChangePreview(ChangePreview preview)
{
    ChangePreview previous = std::move(Preview());
    Preview() = std::move(preview);
    return previous;
}

bool AskChangePreview(QWidget* parent, const std::vector<ContentChange>& changes, const std::string& radios)
{
    return Preview() ? Preview()(parent, changes) : TfChangePreview::Ask(parent, changes, radios);
}

TfWriteRadio::TfWriteRadio(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      parts_(MakeLinkParts())
{
    setObjectName("fWriteRadio");
    setWindowTitle("Write data to radio");
    lPhase = new QLabel;
    lPhase->setObjectName("lPhase");
    pBar = new QProgressBar;
    pBar->setObjectName("pBar");
    pBar->setTextVisible(false);
    pBar->setMinimumWidth(360);
    cbBackup = new QCheckBox("&Back up the radio before writing");
    cbBackup->setObjectName("cbBackup");
    cbBackup->setChecked(ReadWriteRadioOption("Backup"));
    cbVerify = new QCheckBox(Q(EnglishText(kFleetTexts, "Verify")));
    cbVerify->setObjectName("cbVerify");
    cbVerify->setChecked(ReadWriteRadioOption("Verify"));
    mResults = new QPlainTextEdit;
    mResults->setObjectName("mResults");
    SetDesignName(mResults, "Results");
    mResults->setReadOnly(true);
    mResults->setFixedSize(620, 90);
    // Wrapped: the result line ends with the backup's name, which must show whole.
    mResults->setLineWrapMode(QPlainTextEdit::WidgetWidth);
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
    layout->addWidget(cbBackup);
    layout->addWidget(cbVerify);
    layout->addWidget(lPhase);
    layout->addWidget(pBar);
    layout->addWidget(mResults);
    layout->addLayout(ButtonRow({btnOk, btnCancel}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    write_ = std::make_unique<TSafeWrite>(*parts_.port, *parts_.clock, *this);
    // The bar spans the steps the boxes choose; the choice is kept.
    auto remember = [this](const char* key) {
        return [this, key](bool on) {
            SaveWriteRadioOption(key, on);
            pBar->setMaximum((cbBackup->isChecked() ? 27 : 0) + 24 + (cbVerify->isChecked() ? 27 : 0));
        };
    };
    connect(cbBackup, &QCheckBox::toggled, this, remember("Backup"));
    connect(cbVerify, &QCheckBox::toggled, this, remember("Verify"));
    connect(btnOk, &QPushButton::clicked, this, &TfWriteRadio::btnOkClick);
    // Cancel stops the step in progress; with none, it closes the window.
    connect(btnCancel, &QPushButton::clicked, this, [this] {
        if (write_->Running())
            write_->Cancel();
        else
            reject();
    });
    const int steps = (cbBackup->isChecked() ? 27 : 0) + 24 + (cbVerify->isChecked() ? 27 : 0);
    pBar->setMaximum(steps);
}

TfWriteRadio::~TfWriteRadio()
{
    if (!closed_)
        write_->Close();
    write_.reset();
}

void TfWriteRadio::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    LocaliseForm(this, false);
    pBar->setAccessibleName(windowTitle());
    write_->Open(ALL.ComPort, {ALL.BaudRate, ALL.IdentString});
}

void TfWriteRadio::btnOkClick()
{
    btnOk->setEnabled(false);
    cbBackup->setEnabled(false);
    cbVerify->setEnabled(false);
    mr->clear();
    write_->Start({cbBackup->isChecked(), cbVerify->isChecked(), BackupFolder()},
                  {DocumentContents(), FrqList.CodeOf(ALL.BandText)});
}

void TfWriteRadio::ShowPhase(SafePhase phase)
{
    const char* key = phase == SafePhase::BackingUp   ? "PhaseBackup"
                      : phase == SafePhase::Verifying ? "PhaseVerify"
                      : phase == SafePhase::Writing   ? "PhaseWrite"
                                                      : nullptr;
    if (!key)
        return;
    // The step is said with the progress it belongs to: a screen reader
    // reports the bar's name with its value.
    lPhase->setText(Q(SafeText(key)));
    pBar->setAccessibleName(lPhase->text());
}

void TfWriteRadio::ShowProgress(int position, int maximum)
{
    pBar->setMaximum(maximum);
    pBar->setValue(position);
}

void TfWriteRadio::LogLine(const std::string& line)
{
    mr->appendPlainText(Q(line));
}

void TfWriteRadio::ConfirmChanges(const std::vector<ContentChange>& changes)
{
    // Called from the event loop between two exchanges, so the preview may
    // wait for the user.
    const bool write = AskChangePreview(this, changes);
    write_->Answer(write);
}

void TfWriteRadio::Finished(const SafeOutcome& outcome)
{
    // A port that does not open: the message, and the window closes.
    const LinkFailure failure = outcome.link.failure;
    const bool notOpened = failure == LinkFailure::PortNotOpened || failure == LinkFailure::PortInUse;
    if (notOpened && outcome.phase == SafePhase::Idle) {
        MsgBox(Language.Confirmation, MessageText(outcome.link), kMsgInformation);
        return;
    }
    // The document keeps what the write put into the radio beyond it: the
    // model block and the write time.
    TakeWriteMarksIntoDocument(outcome.sent);
    btnOk->setEnabled(true);
    cbBackup->setEnabled(true);
    cbVerify->setEnabled(true);
    if (outcome.link.result == LinkResult::Cancelled) {
        lPhase->clear();
        pBar->setValue(0);
        return;
    }
    const std::string text = SafeOutcomeText(outcome, write_->BackupFile());
    lPhase->setText(Q(text.substr(0, text.find('\n'))));
    ++radios_;
    const std::string result = outcome.link.result == LinkResult::Succeeded ? text : text.substr(0, text.find('\n'));
    const std::string serial = write_->SerialNumber().empty() ? SafeText("NoSerial") : write_->SerialNumber();
    // The folder is File > Backups' own: the line names the file.
    const std::string& file = write_->BackupFile();
    const std::string backup = file.empty() ? SafeText("NoBackup") : file.substr(file.rfind('/') + 1);
    mResults->appendPlainText(Q(SafeText("ResultLine", {std::to_string(radios_), serial, result, backup})));
    // The preview is shown again only for a radio that holds something
    // else than the first one did.
    if (radios_ == 1)
        write_->SkipPreviewFor(write_->RadioBefore());
    pBar->setValue(0);
    // A failure on the line offers the connection doctor.
    if (LineFailure(outcome)) {
        if (MsgBox(Language.Confirmation, text, kMsgConnection) == kMsgCheckConnection)
            OpenDoctorLater();
        return;
    }
    MsgBox(Language.Confirmation, text, kMsgInformation);
}

void TfWriteRadio::CloseWindow()
{
    done(QDialog::Rejected);
}

void TfWriteRadio::done(int result)
{
    closed_ = true;
    write_->Close();
    QDialog::done(result);
}
