// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File > Backups: the backups the writes made, newest first, with their
// radio's serial number, date and time, model and band. Open loads the
// chosen one as the document.
#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "document/Backups.h"

class QPushButton;
class QTableWidget;

class TfBackups : public QDialog {
    Q_OBJECT
public:
    explicit TfBackups(QWidget* parent = nullptr);

    // The backup whose Open was pressed (or that was double-clicked).
    const std::optional<std::string>& Chosen() const { return chosen_; }

    QTableWidget* gvBackups = nullptr;
    QPushButton* btnOpen = nullptr;
    QPushButton* btnClose = nullptr;

private:
    void OpenSelected();

    std::vector<BackupEntry> entries_;
    std::optional<std::string> chosen_;
};
