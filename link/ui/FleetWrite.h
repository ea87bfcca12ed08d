// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fleet write window: one row per listed port, each with a box to use
// it and the state its port reports. Start writes the document into every
// checked port at once; the window only shows what the fleet reports.
#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "link/Fleet.h"
#include "link/ui/LinkDialog.h"

class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class TSharedLoopClock;
class TSharedLoopPort;

// How the window opens a folder: the desktop's file manager, or for the
// tests a recorder; false when nothing showed the folder. Returns the
// previous one; empty installs the desktop's.
using FolderOpener = std::function<bool(const QString& folder)>;
FolderOpener SetFolderOpener(FolderOpener opener);

class TfFleetWrite : public QDialog, public TFleetView {
    Q_OBJECT
public:
    explicit TfFleetWrite(QWidget* parent = nullptr);
    ~TfFleetWrite() override;

    // The fleet of the last Start, or none before the first.
    TFleet* Fleet() { return fleet_.get(); }
    // The table row of each port of the fleet.
    const std::vector<int>& Rows() const { return rows_; }
    QString LogFile() const;
    QString LogFolder() const;

    void btnStartClick();
    void btnStopClick();

    QTableWidget* twPorts = nullptr;
    QCheckBox* cbBackup = nullptr;
    QCheckBox* cbVerify = nullptr;
    QCheckBox* cbHandsFree = nullptr;
    QCheckBox* cbRewriteDone = nullptr;
    QPlainTextEdit* mLog = nullptr;
    QPushButton* btnStart = nullptr;
    QPushButton* btnStop = nullptr;
    QPushButton* btnOpenFolder = nullptr;
    QPushButton* btnClose = nullptr;

    // TFleetView
    void ShowPort(size_t index) override;
    void ConfirmChanges(const FleetQuestion& question) override;
    void Recorded(size_t index, const FleetRecord& record) override;
    void PortNotOpened(size_t index) override;
    void Ended() override;

    void done(int result) override;

private:
    struct Listed {
        std::string name;
        std::string device;
    };
    struct Parts {
        LinkParts link;
        std::unique_ptr<TSharedLoopClock> clock;
        std::unique_ptr<TSharedLoopPort> port;
    };
    void EnableChoices(bool enabled);
    void ReleaseFleet();

    std::vector<Listed> listed_;
    std::unique_ptr<QObject> context_;
    // The ports and clocks outlive the fleet that works on them.
    std::vector<Parts> parts_;
    std::unique_ptr<TFleet> fleet_;
    std::vector<int> rows_;
    long startMs_ = 0;
    std::vector<std::string> restoreHints_; // for the radios a close cut short
};
