// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The common frame of the read and the write window: a progress bar, Ok
// and Cancel, the hidden traffic log `mr`, and the link engine that does the
// work. The window is a view of the engine: it shows what the engine
// reports and closes when the engine asks.
#include <QDialog>
#include <functional>
#include <memory>

#include "link/LinkClock.h"
#include "link/RadioLink.h"
#include "link/SerialPort.h"

class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// The serial port and the clock a link window runs on. The program uses Qt
// SerialPort and Qt timers; the window tests put in scripted ones.
struct LinkParts {
    std::unique_ptr<TSerialPort> port;
    std::unique_ptr<TLinkClock> clock;
};
using LinkPartsFactory = std::function<LinkParts()>;
// Installs a factory (empty: the program's own) and returns the previous.
LinkPartsFactory SetLinkPartsFactory(LinkPartsFactory factory);
// A port and a clock from the installed factory.
LinkParts MakeLinkParts();

class TfLinkDialog : public QDialog, public TLinkView {
    Q_OBJECT
public:
    TfLinkDialog(const LinkJob& job, const LinkWindowPolicy& policy, QWidget* parent);
    ~TfLinkDialog() override;

    TRadioLink& Link() { return *link_; }

    // Ok starts the read or the write.
    void btnOkClick();

    QProgressBar* pBar = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
    QPlainTextEdit* mr = nullptr;

    // TLinkView
    void ShowProgress(int position, int maximum) override;
    void EnableOk(bool enabled) override;
    void ClearLog() override;
    void LogLine(const std::string& line) override;
    void Finished(const LinkOutcome& outcome) override;
    void CloseWindow() override;

    // Every way of closing (CloseTime, Cancel, the close box) ends here.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    LinkParts parts_;
    std::unique_ptr<TRadioLink> link_;
    bool shown_ = false;
    bool closed_ = false;
};
