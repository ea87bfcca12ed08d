// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/BackupsDlg.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/SafeTexts.h"
#include "settings/Folders.h"
#include "settings/ui/LocaliseForm.h"
#include "ui/ButtonRow.h"

namespace {
QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}
} // namespace

TfBackups::TfBackups(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      entries_(ListBackups(BackupFolder()))
{
    setObjectName("fBackups");
    setWindowTitle("Backups");
    gvBackups = new QTableWidget(static_cast<int>(entries_.size()), 5, this);
    gvBackups->setObjectName("gvBackups");
    gvBackups->setHorizontalHeaderLabels({Q(SafeText("ColumnSerial")), Q(SafeText("ColumnTime")),
                                          Q(SafeText("ColumnModel")), Q(SafeText("ColumnBand")),
                                          Q(SafeText("ColumnFile"))});
    gvBackups->setSelectionBehavior(QAbstractItemView::SelectRows);
    gvBackups->setSelectionMode(QAbstractItemView::SingleSelection);
    gvBackups->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gvBackups->verticalHeader()->hide();
    for (int row = 0; row < gvBackups->rowCount(); ++row) {
        const BackupEntry& e = entries_[static_cast<size_t>(row)];
        const std::string fields[] = {e.serial, e.time, e.model, e.band, e.path.substr(e.path.rfind('/') + 1)};
        for (int column = 0; column < 5; ++column)
            gvBackups->setItem(row, column, new QTableWidgetItem(Q(fields[column])));
    }
    gvBackups->resizeColumnsToContents();
    gvBackups->setMinimumSize(640, 240);
    if (!entries_.empty())
        gvBackups->selectRow(0);

    auto* empty = new QLabel(Q(SafeText("NoBackups", {BackupFolder()})));
    empty->setVisible(entries_.empty());
    btnOpen = new QPushButton("&Open");
    btnOpen->setObjectName("btnOpen");
    btnOpen->setEnabled(!entries_.empty());
    btnClose = new QPushButton("&Close");
    btnClose->setObjectName("btnClose");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gvBackups);
    layout->addWidget(empty);
    layout->addLayout(ButtonRow({btnOpen, btnClose}));
    connect(btnOpen, &QPushButton::clicked, this, &TfBackups::OpenSelected);
    connect(gvBackups, &QTableWidget::cellDoubleClicked, this, &TfBackups::OpenSelected);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    LocaliseForm(this, false);
}

void TfBackups::OpenSelected()
{
    const int row = gvBackups->currentRow();
    if (row < 0 || row >= static_cast<int>(entries_.size()))
        return;
    chosen_ = entries_[static_cast<size_t>(row)].path;
    accept();
}
