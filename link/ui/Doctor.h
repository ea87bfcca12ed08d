// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Setup > Check Connection: the connection doctor's findings, each with a
// green, yellow or red mark and what to do, and a button that tests the
// line of the chosen port.
#include <QDialog>
#include <memory>
#include <optional>

#include "link/Doctor.h"
#include "link/LineProbe.h"
#include "link/ui/LinkDialog.h"

class QLabel;
class QPushButton;
class QTableWidget;

class TfDoctor : public QDialog {
    Q_OBJECT
public:
    // Without a system the window looks at this machine.
    explicit TfDoctor(QWidget* parent = nullptr, TSystemView* system = nullptr);
    ~TfDoctor() override;

    // Looks again; the line test's finding is dropped.
    void Check();
    // Tests the line of the chosen port; the finding is added when it ends.
    void TestLine();
    const DoctorReport& Report() const { return report_; }
    bool Testing() const { return probe_ != nullptr; }

    QLabel* lHint = nullptr;
    QTableWidget* tbFindings = nullptr;
    QPushButton* btnCheck = nullptr;
    QPushButton* btnProbe = nullptr;
    QPushButton* btnClose = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Show();
    void ProbeDone(const ProbeOutcome& outcome);

    TSystemView* system_;
    std::unique_ptr<TSystemView> ownSystem_;
    DoctorReport report_;
    LinkParts parts_;
    std::unique_ptr<TLineProbe> probe_;
    bool shown_ = false;
};

// Opens the window once the current event is handled (from a message box
// about a failed read or write, whose window is still closing).
void OpenDoctorLater();
