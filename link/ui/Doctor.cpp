// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ui/Doctor.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "base/NumberText.h"
#include "core/State.h"
#include "link/DoctorTexts.h"
#include "link/PlatformSystemView.h"
#include "settings/ui/LocaliseForm.h"
#include "ui/ButtonRow.h"

namespace {
QIcon MarkIcon(Severity severity)
{
    QColor colour = severity == Severity::Ok        ? QColor(0x2e, 0xa0, 0x43)
                    : severity == Severity::Warning ? QColor(0xe0, 0xb0, 0x00)
                                                    : QColor(0xd0, 0x30, 0x30);
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(1, 1, 12, 12);
    return QIcon(pixmap);
}

QTableWidgetItem* Cell(const std::string& text)
{
    auto* item = new QTableWidgetItem(QString::fromStdString(text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setToolTip(item->text());
    return item;
}
} // namespace

TfDoctor::TfDoctor(QWidget* parent, TSystemView* system)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), system_(system)
{
    setObjectName("fDoctor");
    setWindowTitle("Check Connection");
    if (!system_) {
        ownSystem_ = std::make_unique<TPlatformSystemView>();
        system_ = ownSystem_.get();
    }
    lHint = new QLabel("What the doctor found about the cable, the port and the radio:");
    lHint->setObjectName("lHint");
    tbFindings = new QTableWidget(0, 3);
    tbFindings->setObjectName("tbFindings");
    SetDesignName(tbFindings, "Findings");
    tbFindings->setTabKeyNavigation(false); // Tab leaves the list; the arrows move in it
    tbFindings->verticalHeader()->setVisible(false);
    tbFindings->setWordWrap(true);
    tbFindings->setSelectionBehavior(QAbstractItemView::SelectRows);
    tbFindings->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tbFindings->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    tbFindings->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    tbFindings->setMinimumSize(820, 300);
    btnCheck = new QPushButton("Check &Again");
    btnCheck->setObjectName("btnCheck");
    btnProbe = new QPushButton("&Test the Line");
    btnProbe->setObjectName("btnProbe");
    btnClose = new QPushButton("&Close");
    btnClose->setObjectName("btnClose");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lHint);
    layout->addWidget(tbFindings);
    layout->addLayout(ButtonRow({btnCheck, btnProbe, btnClose}));
    connect(btnCheck, &QPushButton::clicked, this, &TfDoctor::Check);
    connect(btnProbe, &QPushButton::clicked, this, &TfDoctor::TestLine);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
}

TfDoctor::~TfDoctor()
{
    probe_.reset();
}

void TfDoctor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!shown_) {
        shown_ = true;
        LocaliseForm(this, false);
        Check();
    }
}

void TfDoctor::Check()
{
    if (probe_)
        return;
    ALL.ComPort = UpperAscii(ALL.ComPort);
    // The port the program would use; only the user's own choice in the
    // port dialog or on the command line counts as naming a built-in port.
    report_ = Examine(*system_, DoctorRequest{CurrentPortMapping(), ALL.ComPort, false});
    Show();
}

void TfDoctor::TestLine()
{
    if (probe_ || !report_.probePort)
        return;
    parts_ = MakeLinkParts();
    probe_ = std::make_unique<TLineProbe>(*parts_.port, *parts_.clock);
    btnCheck->setEnabled(false);
    btnProbe->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    probe_->Start(*report_.probePort, [this](const ProbeOutcome& outcome) {
        // The probe may still be on the stack: finish from the event loop.
        QTimer::singleShot(0, this, [this, outcome] { ProbeDone(outcome); });
    });
}

void TfDoctor::ProbeDone(const ProbeOutcome& outcome)
{
    QApplication::restoreOverrideCursor();
    probe_.reset();
    parts_ = {};
    std::erase_if(report_.findings, [](const Finding& f) { return f.id.starts_with("line-"); });
    AddProbeFinding(report_, outcome, PortName(*report_.probePort) + " (" + report_.probeDevice + ")");
    Show();
}

void TfDoctor::Show()
{
    tbFindings->setHorizontalHeaderLabels(
        {"", QString::fromStdString(DoctorText("ColumnFinding")), QString::fromStdString(DoctorText("ColumnFix"))});
    tbFindings->setRowCount(static_cast<int>(report_.findings.size()));
    int row = 0;
    for (const Finding& f : report_.findings) {
        QTableWidgetItem* mark = Cell(SeverityMark(f.severity));
        mark->setIcon(MarkIcon(f.severity));
        mark->setData(Qt::UserRole, static_cast<int>(f.severity));
        tbFindings->setItem(row, 0, mark);
        tbFindings->setItem(row, 1, Cell(f.what));
        tbFindings->setItem(row, 2, Cell(f.fix));
        ++row;
    }
    tbFindings->resizeRowsToContents();
    btnCheck->setEnabled(true);
    btnProbe->setEnabled(report_.probePort.has_value());
}

void OpenDoctorLater()
{
    QTimer::singleShot(0, qApp, [] {
        TfDoctor dialog(QApplication::activeWindow());
        dialog.exec();
    });
}
