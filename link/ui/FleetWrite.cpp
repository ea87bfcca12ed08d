// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ui/FleetWrite.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

#include "base/Sha256.h"
#include "core/State.h"
#include "document/ContentsDiff.h"
#include "document/FleetTexts.h"
#include "document/SafeTexts.h"
#include "link/PlatformSystemView.h"
#include "link/PortNames.h"
#include "link/qt/QtLoopHooks.h"
#include "link/SharedLoop.h"
#include "link/StableDevice.h"
#include "link/ui/WriteRadio.h"
#include "settings/Folders.h"
#include "settings/Language.h"
#include "settings/MsgBox.h"
#include "settings/SysInfo.h"
#include "ui/ButtonRow.h"

namespace {
enum Column { ColUse, ColPort, ColDevice, ColState };

FolderOpener& Opener()
{
    static FolderOpener opener;
    return opener;
}

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

QString T(const char* key)
{
    return Q(FleetText(key));
}

// The stable name shown beside a device: the adapter's by-id link, else
// the socket's by-path link; nothing when there is neither.
QString StableName(const std::string& device)
{
    TPlatformSystemView machine;
    const StableNames names = FindStableNames(machine, device);
    return Q(names.byId.empty() ? names.byPath : names.byId);
}

// The window's own clock for the time each radio takes.
QElapsedTimer& Elapsed()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer;
}
} // namespace

FolderOpener SetFolderOpener(FolderOpener opener)
{
    FolderOpener previous = std::move(Opener());
    Opener() = std::move(opener);
    return previous;
}

TfFleetWrite::TfFleetWrite(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      context_(std::make_unique<QObject>())
{
    setObjectName("fFleetWrite");
    setWindowTitle(T("Title"));

    for (const PortDevice& p : EnumeratePorts())
        listed_.push_back({PortName(p.number), p.device});

    twPorts = new QTableWidget(static_cast<int>(listed_.size()), 4);
    twPorts->setObjectName("twPorts");
    twPorts->setAccessibleName(T("PortsName"));
    twPorts->setTabKeyNavigation(false); // Tab leaves the list; the arrows move in it
    twPorts->setHorizontalHeaderLabels({T("ColumnUse"), T("ColumnPort"), T("ColumnDevice"), T("ColumnState")});
    twPorts->verticalHeader()->setVisible(false);
    twPorts->setSelectionMode(QAbstractItemView::NoSelection);
    twPorts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < twPorts->rowCount(); ++row) {
        const Listed& l = listed_[static_cast<size_t>(row)];
        auto* use = new QTableWidgetItem;
        use->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        use->setCheckState(Qt::Checked);
        twPorts->setItem(row, ColUse, use);
        twPorts->setItem(row, ColPort, new QTableWidgetItem(Q(l.name)));
        const QString stable = StableName(l.device);
        twPorts->setItem(row, ColDevice,
                         new QTableWidgetItem(stable.isEmpty() ? Q(l.device) : Q(l.device) + "  " + stable));
        twPorts->setItem(row, ColState, new QTableWidgetItem(T("StateIdle")));
    }
    twPorts->horizontalHeader()->setSectionResizeMode(ColUse, QHeaderView::ResizeToContents);
    twPorts->horizontalHeader()->setSectionResizeMode(ColPort, QHeaderView::ResizeToContents);
    twPorts->horizontalHeader()->setSectionResizeMode(ColDevice, QHeaderView::ResizeToContents);
    twPorts->horizontalHeader()->setStretchLastSection(true);
    // Tall enough for every listed port, up to half the screen; more
    // ports than that scroll.
    twPorts->resizeRowsToContents();
    int rowsHeight = twPorts->horizontalHeader()->sizeHint().height() + 2 * twPorts->frameWidth();
    for (int row = 0; row < twPorts->rowCount(); ++row)
        rowsHeight += twPorts->rowHeight(row);
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const int screenful = screen ? screen->availableGeometry().height() / 2 : 480;
    twPorts->setMinimumSize(720, std::clamp(rowsHeight, 220, std::max(220, screenful)));

    cbBackup = new QCheckBox(T("Backup"));
    cbBackup->setObjectName("cbBackup");
    cbBackup->setChecked(ReadWriteRadioOption("Backup"));
    cbVerify = new QCheckBox(T("Verify"));
    cbVerify->setObjectName("cbVerify");
    cbVerify->setChecked(ReadWriteRadioOption("Verify"));
    cbHandsFree = new QCheckBox(T("HandsFree"));
    cbHandsFree->setObjectName("cbHandsFree");
    cbRewriteDone = new QCheckBox(T("RewriteDone"));
    cbRewriteDone->setObjectName("cbRewriteDone");
    cbRewriteDone->setEnabled(false);
    connect(cbHandsFree, &QCheckBox::toggled, cbRewriteDone, &QWidget::setEnabled);
    connect(cbBackup, &QCheckBox::toggled, this, [](bool on) { SaveWriteRadioOption("Backup", on); });
    connect(cbVerify, &QCheckBox::toggled, this, [](bool on) { SaveWriteRadioOption("Verify", on); });

    mLog = new QPlainTextEdit;
    mLog->setObjectName("mLog");
    mLog->setReadOnly(true);
    // Wrapped: a radio's line with its reason and backup shows whole.
    mLog->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    mLog->setMinimumHeight(110);

    btnStart = new QPushButton(T("Start"));
    btnStart->setObjectName("btnStart");
    btnStart->setEnabled(!listed_.empty());
    btnStop = new QPushButton(T("Stop"));
    btnStop->setObjectName("btnStop");
    btnStop->setEnabled(false);
    btnOpenFolder = new QPushButton(T("OpenLogFolder"));
    btnOpenFolder->setObjectName("btnOpenFolder");
    btnClose = new QPushButton(T("Close"));
    btnClose->setObjectName("btnClose");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(twPorts);
    auto* choices = new QHBoxLayout;
    choices->addWidget(cbBackup);
    choices->addWidget(cbVerify);
    choices->addStretch();
    layout->addLayout(choices);
    layout->addWidget(cbHandsFree);
    layout->addWidget(cbRewriteDone);
    auto* logHeading = new QLabel(T("LogHeading"));
    logHeading->setBuddy(mLog);
    layout->addWidget(logHeading);
    layout->addWidget(mLog);
    layout->addLayout(ButtonRow({btnStart, btnStop, btnOpenFolder, btnClose}));

    connect(btnStart, &QPushButton::clicked, this, &TfFleetWrite::btnStartClick);
    connect(btnStop, &QPushButton::clicked, this, &TfFleetWrite::btnStopClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnOpenFolder, &QPushButton::clicked, this, [this] {
        QDir().mkpath(LogFolder());
        const bool shown = Opener() ? Opener()(LogFolder())
                                    : QDesktopServices::openUrl(QUrl::fromLocalFile(LogFolder()));
        // A desktop without a file manager: the path, to open by hand.
        if (!shown)
            MsgBox(Language.Caution,
                   FleetText("LogFolderNotShown", {QDir::toNativeSeparators(LogFolder()).toStdString()}),
                   kMsgInformation);
    });
}

TfFleetWrite::~TfFleetWrite()
{
    ReleaseFleet();
}

QString TfFleetWrite::LogFile() const
{
    return Q(BackupFolder() + "/fleet.csv");
}

QString TfFleetWrite::LogFolder() const
{
    return QFileInfo(LogFile()).absolutePath();
}

void TfFleetWrite::ReleaseFleet()
{
    if (fleet_ && fleet_->Running())
        fleet_->Cancel();
    fleet_.reset();
    parts_.clear();
    rows_.clear();
}

void TfFleetWrite::EnableChoices(bool enabled)
{
    for (int row = 0; row < twPorts->rowCount(); ++row)
        twPorts->item(row, ColUse)
            ->setFlags(enabled ? Qt::ItemIsUserCheckable | Qt::ItemIsEnabled : Qt::ItemIsUserCheckable);
    cbBackup->setEnabled(enabled);
    cbVerify->setEnabled(enabled);
    cbHandsFree->setEnabled(enabled);
    cbRewriteDone->setEnabled(enabled && cbHandsFree->isChecked());
    btnStart->setEnabled(enabled);
    btnStop->setEnabled(!enabled);
}

void TfFleetWrite::btnStartClick()
{
    ReleaseFleet();
    fleet_ = std::make_unique<TFleet>(*this, [] { return static_cast<long>(Elapsed().elapsed()); });
    for (int row = 0; row < twPorts->rowCount(); ++row) {
        if (twPorts->item(row, ColUse)->checkState() != Qt::Checked) {
            twPorts->item(row, ColState)->setText(T("StateIdle"));
            twPorts->item(row, ColState)->setBackground(QBrush());
            continue;
        }
        const Listed& l = listed_[static_cast<size_t>(row)];
        Parts p;
        p.link = MakeLinkParts();
        p.clock = std::make_unique<TSharedLoopClock>(*p.link.clock);
        p.port = std::make_unique<TSharedLoopPort>(*p.link.port, *p.clock, QtPostAfter(context_.get()));
        TPlatformSystemView machine;
        fleet_->AddPort(l.name, FollowedName(machine, l.device), *p.port, *p.clock);
        parts_.push_back(std::move(p));
        rows_.push_back(row);
    }
    if (rows_.empty())
        return;

    FleetOptions options;
    options.write = {cbBackup->isChecked(), cbVerify->isChecked(), BackupFolder()};
    options.logFile = LogFile().toStdString();
    options.watch = cbHandsFree->isChecked();
    options.rewriteDone = options.watch && cbRewriteDone->isChecked();
    options.sha256 = Sha256Hex(ALL.Image.data(), ALL.Image.size());
    // Every radio gets a copy of the document; the document stays as it is.
    options.document = {DocumentContents(), FrqList.CodeOf(ALL.BandText)};
    options.link = {ALL.BaudRate, ALL.IdentString};
    // Without backups there is no preview: one question for them all.
    if (!options.write.backup &&
        MsgBox(FleetText("Title"), fleet_->BlindWriteQuestion(options), kMsgQuestion) != kMsgYes) {
        ReleaseFleet();
        return;
    }
    // The list tells this run's radios only.
    mLog->clear();
    EnableChoices(false);
    std::string why;
    if (!fleet_->Start(options, why)) {
        mLog->appendPlainText(Q(why));
        EnableChoices(true);
        return;
    }
    for (size_t i = 0; i < rows_.size(); ++i)
        ShowPort(i);
}

void TfFleetWrite::btnStopClick()
{
    if (fleet_)
        fleet_->Stop();
}

void TfFleetWrite::ShowPort(size_t index)
{
    if (!fleet_ || index >= rows_.size())
        return;
    const TFleetPort& port = fleet_->Port(index);
    QTableWidgetItem* state = twPorts->item(rows_[index], ColState);
    state->setText(Q(port.StateText()));
    // A failure's reason is long: the row grows to show the state wrapped.
    twPorts->resizeRowToContents(rows_[index]);
    // Green: take the radio off; red: look at it.
    const FleetState s = port.State();
    state->setBackground(s == FleetState::Done          ? QBrush(QColor(170, 230, 170))
                         : s == FleetState::Failed      ? QBrush(QColor(240, 170, 170))
                         : s == FleetState::AlreadyDone ? QBrush(QColor(240, 220, 150))
                                                        : QBrush());
}

void TfFleetWrite::ConfirmChanges(const FleetQuestion& question)
{
    // The log says which radios each answer covers.
    const std::string radios = FleetText("PreviewFor", {question.radios});
    mLog->appendPlainText(Q(radios));
    // Asked from the event loop rather than inside the port's report, so
    // the other ports keep going while the question is open.
    QTimer::singleShot(0, this, [this, changes = question.changes, radios] {
        if (fleet_)
            fleet_->Answer(AskChangePreview(this, changes, radios));
    });
}

void TfFleetWrite::Recorded(size_t index, const FleetRecord& r)
{
    mLog->appendPlainText(Q(RadioResultLine(fleet_->Port(index).Name(), r)));
    if (r.result == FleetResult::Interrupted && r.writeBegun) {
        restoreHints_.push_back(RestoreHint(r));
        mLog->appendPlainText(Q(restoreHints_.back()));
    }
}

void TfFleetWrite::PortNotOpened(size_t index)
{
    mLog->appendPlainText(Q(FleetText("PortNotOpened", {fleet_->Port(index).Name(), fleet_->Port(index).Message()})));
}

void TfFleetWrite::Ended()
{
    EnableChoices(true);
    if (fleet_)
        mLog->appendPlainText(Q(fleet_->SummaryText()));
}

void TfFleetWrite::done(int result)
{
    if (fleet_ && fleet_->Running()) {
        // Closing stops every port at once; with radios in hand it asks
        // first. Each radio cut short is recorded, and told how to restore.
        int inHand = 0;
        for (size_t i = 0; i < fleet_->PortCount(); ++i) {
            const FleetState s = fleet_->Port(i).State();
            inHand += s == FleetState::BackingUp || s == FleetState::Writing || s == FleetState::Verifying;
        }
        if (inHand > 0 &&
            MsgBox(FleetText("Title"), FleetText("CloseQuestion", {std::to_string(inHand)}), kMsgQuestion) != kMsgYes)
            return;
        restoreHints_.clear();
        fleet_->Cancel();
        std::string hints;
        for (const std::string& hint : restoreHints_)
            hints += (hints.empty() ? "" : "\n\n") + hint;
        if (!hints.empty())
            MsgBox(FleetText("Title"), hints, kMsgInformation);
    }
    QDialog::done(result);
}
