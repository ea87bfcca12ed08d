// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/BackupsDlg.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "document/SafeTexts.h"
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
    // The port a backup came through is not kept in it (a backup is a plain
    // data file); what tells two backups apart is their full name, their
    // time to the second and whether their contents are the same.
    gvBackups = new QTableWidget(static_cast<int>(entries_.size()), 6, this);
    gvBackups->setObjectName("gvBackups");
    SetDesignName(gvBackups, "Backups");
    gvBackups->setTabKeyNavigation(false); // Tab leaves the list; the arrows move in it
    gvBackups->setHorizontalHeaderLabels({Q(SafeText("ColumnSerial")), Q(SafeText("ColumnTime")),
                                          Q(SafeText("ColumnModel")), Q(SafeText("ColumnBand")),
                                          Q(SafeText("ColumnFile")), Q(SafeText("ColumnSameAs"))});
    gvBackups->setSelectionBehavior(QAbstractItemView::SelectRows);
    gvBackups->setSelectionMode(QAbstractItemView::SingleSelection);
    gvBackups->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gvBackups->verticalHeader()->hide();
    for (int row = 0; row < gvBackups->rowCount(); ++row) {
        const BackupEntry& e = entries_[static_cast<size_t>(row)];
        const std::string fields[] = {e.serial, e.time, e.model, e.band, e.path.substr(e.path.rfind('/') + 1),
                                      e.sameAs};
        for (int column = 0; column < 6; ++column)
            gvBackups->setItem(row, column, new QTableWidgetItem(Q(fields[column])));
    }
    gvBackups->resizeColumnsToContents();
    // Wide enough for every column, so no file name is cut off.
    int width = 2 * gvBackups->frameWidth() + gvBackups->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < gvBackups->columnCount(); ++column)
        width += gvBackups->columnWidth(column);
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->availableGeometry().width() * 9 / 10 : 1200;
    gvBackups->setMinimumSize(std::clamp(width, 640, std::max(640, screenWidth)), 240);
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
