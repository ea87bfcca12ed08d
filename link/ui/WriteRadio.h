// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The write window: backs the radio up, shows what will change, writes the
// document and reads it back to verify, as one operation on one progress
// bar with the step named above it. It stays open so the same document can
// go into the next radio; each radio gets a result line.
#include <QDialog>
#include <functional>
#include <memory>

#include "link/SafeWrite.h"
#include "link/ui/LinkDialog.h"

class QCheckBox;
class QLabel;

// How the write asks about the changes: the preview dialog, or for the
// tests an answer without a window. Returns whether to write.
using ChangePreview = std::function<bool(QWidget* parent, const std::vector<ContentChange>& changes)>;
// Installs a preview (empty: the dialog) and returns the previous one.
ChangePreview SetChangePreview(ChangePreview preview);
// Asks through the installed preview: true when the user chose to write.
// `radios` names the radios it is for, when there are several.
bool AskChangePreview(QWidget* parent, const std::vector<ContentChange>& changes, const std::string& radios = {});

class TfWriteRadio : public QDialog, public TSafeWriteView {
    Q_OBJECT
public:
    explicit TfWriteRadio(QWidget* parent = nullptr);
    ~TfWriteRadio() override;

    TSafeWrite& Write() { return *write_; }
    // Ok writes the next radio.
    void btnOkClick();

    QLabel* lPhase = nullptr;
    QProgressBar* pBar = nullptr;
    QCheckBox* cbBackup = nullptr;
    QCheckBox* cbVerify = nullptr;
    QPlainTextEdit* mResults = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
    QPlainTextEdit* mr = nullptr;

    // TSafeWriteView
    void ShowPhase(SafePhase phase) override;
    void ShowProgress(int position, int maximum) override;
    void LogLine(const std::string& line) override;
    void ConfirmChanges(const std::vector<ContentChange>& changes) override;
    void Finished(const SafeOutcome& outcome) override;
    void CloseWindow() override;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    LinkParts parts_;
    std::unique_ptr<TSafeWrite> write_;
    int radios_ = 0;
    bool shown_ = false;
    bool closed_ = false;
};
