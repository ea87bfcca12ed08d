// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/MainFrm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include "app/Startup.h"
#include "app/ui/Artwork.h"
#include "base/NumberText.h"
#include "core/State.h"
#include "editors/ChannelColumns.h"
#include "link/PortNames.h"
#include "settings/Language.h"
#include "settings/ui/LocaliseForm.h"
#include "settings/ui/QtTranslations.h"

namespace {
constexpr int kRootIndex = -1;
constexpr int kStateRole = Qt::UserRole + 1;
const int kPanelWidths[7] = {50, 80, 120, 120, 120, 120, 100};

// The Edit menu in menu order, and the order the tree lists its items in.
struct EditItem {
    const char* name;
    const char* caption;
    Command command;
};
constexpr EditItem kEditItems[] = {
    {"nChsV_Info", "C&hannel Information", Command::ChannelInformation},
    {"nKeys_Funs", "&Key Function", Command::KeyFunction},
    {"nVoxs_Funs", "&Vox Function", Command::VoxFunction},
    {"nOpts_Funs", "&Optional Function", Command::OptionalFunction},
    {"nScan_Funs", "&Scan Information", Command::ScanInformation},
    {"nDtmf_Funs", "&DTMF Information", Command::DtmfInformation},
    {"nMode_Info", "Radio &Information", Command::RadioInformation},
};
constexpr Command kTreeOrder[] = {Command::RadioInformation, Command::ChannelInformation, Command::KeyFunction,
                                  Command::VoxFunction,      Command::OptionalFunction,   Command::ScanInformation,
                                  Command::DtmfInformation};

QString Hint(const char* caption)
{
    return QString::fromUtf8(caption).remove('&');
}
}

TfMainFrm::TfMainFrm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("fMainFrm");
    setAcceptDrops(true); // a data file dropped on the window opens
    setWindowTitle(QString::fromStdString(ALL.FamilyName));

    mdi = new QMdiArea;
    pTree = new QWidget;
    pTree->setObjectName("pTree");
    auto* treeLayout = new QVBoxLayout(pTree);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    auto* hideRow = new QHBoxLayout;
    hideRow->addStretch();
    auto* TreeHide = new QPushButton("X");
    TreeHide->setObjectName("TreeHide");
    // Square, and large enough for its letter at the desktop's font size.
    const int hideSide = std::max(18, TreeHide->fontMetrics().height() + 4);
    TreeHide->setFixedSize(hideSide, hideSide);
    SetDesignName(TreeHide, "Hide the Tree");
    connect(TreeHide, &QPushButton::clicked, pTree, &QWidget::hide);
    hideRow->addWidget(TreeHide);
    treeLayout->addLayout(hideRow);
    cxTree = new QTreeWidget;
    cxTree->setObjectName("cxTree");
    cxTree->setHeaderHidden(true);
    SetDesignName(cxTree, "Radio Contents");
    treeLayout->addWidget(cxTree);
    cxTree->setIconSize(QSize(18, 18));
    cxTree->setIndentation(14);
    auto* root = new QTreeWidgetItem(cxTree, QStringList(QString::fromStdString(ALL.FamilyName)));
    root->setIcon(0, ArtworkIcon(TArtwork::Radio));
    root->setData(0, kStateRole, kRootIndex);
    connect(cxTree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* i) { cxTreeClick(i); });
    connect(cxTree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* i) { cxTreeDblClick(i); });
    // Enter on a node does what a double click does.
    cxTree->installEventFilter(this);

    auto* splitter = new QSplitter;
    splitter->addWidget(pTree);
    splitter->addWidget(mdi);
    splitter->setStretchFactor(1, 1);
    // The tree's width grows with the font, as the grid's columns do.
    splitter->setSizes({ScaledToFont(185, cxTree->fontMetrics().height()), 1000});
    setCentralWidget(splitter);

    Label5 = new QLabel("No. - ", this);
    Label5->setObjectName("Label5");
    Label5->hide();
    lCom = new QLabel("Port: ", this);
    lCom->setObjectName("lCom");
    lCom->hide();

    // ImBack: the background picture, tiled behind the editor windows.
    mdi->setBackground(QBrush(BackgroundPicture()));

    BuildMenus();
    BuildWindowMenu();
    BuildToolBar();
    BuildStatusBar();
    cbCom = new QComboBox(this); // the ports found at start-up; not shown
    cbCom->setObjectName("cbCom");
    SetTag(cbCom, kTagNotTranslated); // port names are looked up by their text
    cbCom->setVisible(false);

    Timer = new QTimer(this);
    Timer->setInterval(1000);
    connect(Timer, &QTimer::timeout, this, &TfMainFrm::TimerTick);
    Timer->start();
    SetDocumentView(this);
}

TfMainFrm::~TfMainFrm()
{
    SetDocumentView(nullptr);
    // The history outlives the menu items it relabels.
    undoStack_->disconnect(this);
}

QAction* TfMainFrm::AddMenuItem(QMenu* menu, const char* name, const char* caption, const char* shortcut,
                                Command command)
{
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setObjectName(name);
    a->setData(static_cast<int>(command));
    if (shortcut && *shortcut)
        a->setShortcut(QKeySequence(QString::fromUtf8(shortcut)));
    connect(a, &QAction::triggered, this, [this, command] { RunCommand(command); });
    return a;
}

void TfMainFrm::BuildMenus()
{
    auto addItem = [this](QMenu* menu, const char* name, const char* caption, const char* shortcut, Command command) {
        return AddMenuItem(menu, name, caption, shortcut, command);
    };
    QMenu* nFile = menuBar()->addMenu("&File");
    nFile->setObjectName("nFile");
    addItem(nFile, "N1", "&New", "Ctrl+N", Command::New);
    addItem(nFile, "O1", "&Open", "Ctrl+O", Command::Open);
    addItem(nFile, "S2", "&Save", "Ctrl+S", Command::Save);
    addItem(nFile, "A1", "Save &As", "Ctrl+A", Command::SaveAs);
    addItem(nFile, "nBackups", "&Backups...", "", Command::Backups);
    nFile->addSeparator();
    QMenu* nImport = nFile->addMenu("&Import");
    nImport->setObjectName("nImport");
    addItem(nImport, "nImportCsv", "CHIRP &CSV...", "", Command::ImportCsv);
    addItem(nImport, "nImportJson", "&JSON...", "", Command::ImportJson);
    QMenu* nExport = nFile->addMenu("E&xport");
    nExport->setObjectName("nExport");
    addItem(nExport, "nExportCsv", "CHIRP &CSV...", "", Command::ExportCsv);
    addItem(nExport, "nExportJson", "&JSON...", "", Command::ExportJson);
    addItem(nExport, "nExportPdf", "&PDF...", "", Command::ExportPdf);
    addItem(nFile, "nPrint", "&Print...", "Ctrl+P", Command::Print);
    nFile->addSeparator();
    QAction* nExit = nFile->addAction("&Exit");
    nExit->setObjectName("nExit");
    nExit->setShortcut(QKeySequence("Ctrl+X"));
    connect(nExit, &QAction::triggered, this, &QWidget::close);

    QMenu* nEdit = menuBar()->addMenu("&Edit");
    nEdit->setObjectName("nEdit");
    BuildSheetMenu(nEdit);
    for (const EditItem& item : kEditItems) {
        QAction* a = addItem(nEdit, item.name, item.caption, "", item.command);
        a->setToolTip(Hint(item.caption));
        a->setStatusTip(Hint(item.caption));
        editItems_[item.command] = a;
        if (item.command == Command::ChannelInformation)
            nEdit->addSeparator();
    }
    // Present but hidden: the embedded message dialog is reached through
    // RunCommand only.
    addItem(nEdit, "E11", "&Embedded Message", "", Command::EmbeddedMessage)->setVisible(false);

    QMenu* nProgram = menuBar()->addMenu("&Program");
    nProgram->setObjectName("nProgram");
    addItem(nProgram, "R1", "&Read From Radio", "Ctrl+R", Command::ReadFromRadio);
    addItem(nProgram, "W2", "&Write To Radio", "Ctrl+W", Command::WriteToRadio);
    addItem(nProgram, "nFleetWrite", "&Fleet Write", "", Command::FleetWrite);
    nProgram->addSeparator();

    QMenu* nSetup = menuBar()->addMenu("&Setup");
    nSetup->setObjectName("nSetup");
    addItem(nSetup, "N4", "&Model Information", "", Command::ModelInformation);
    nSetup->addSeparator();
    addItem(nSetup, "C2", "&Communication Port", "", Command::CommunicationPort);
    addItem(nSetup, "nLanguage", "&Language File Setup", "", Command::LanguageFileSetup);
    addItem(nSetup, "nCheckConnection", "Chec&k Connection", "", Command::CheckConnection);

    QMenu* nView = menuBar()->addMenu("&View");
    nView->setObjectName("nView");
    QAction* T4 = nView->addAction("Tree &View");
    T4->setObjectName("T4");
    connect(T4, &QAction::triggered, this, [this] { pTree->setVisible(!pTree->isVisible()); });
    nView->addSeparator();
    QAction* nCool = nView->addAction("&Toolbar");
    nCool->setObjectName("nCool");
    nCool->setCheckable(true);
    nCool->setChecked(true);
    connect(nCool, &QAction::toggled, this, [this](bool on) { tbar->setVisible(on); });
    QAction* nBar = nView->addAction("&Status bar");
    nBar->setObjectName("nBar");
    nBar->setCheckable(true);
    nBar->setChecked(true);
    connect(nBar, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
    // The keyboard's way between the panes and between the editor windows
    // (the grid keeps Tab for its cells, so Tab alone never leaves it).
    nView->addSeparator();
    QAction* nNextPane = nView->addAction("Next &Pane");
    nNextPane->setObjectName("nNextPane");
    nNextPane->setShortcut(QKeySequence(Qt::Key_F6));
    connect(nNextPane, &QAction::triggered, this, &TfMainFrm::NextPane);
    QAction* nNextWindow = nView->addAction("Ne&xt Window");
    nNextWindow->setObjectName("nNextWindow");
    nNextWindow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F6));
    connect(nNextWindow, &QAction::triggered, mdi, &QMdiArea::activateNextSubWindow);
    QAction* nPreviousWindow = nView->addAction("Previous Windo&w");
    nPreviousWindow->setObjectName("nPreviousWindow");
    nPreviousWindow->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6));
    connect(nPreviousWindow, &QAction::triggered, mdi, &QMdiArea::activatePreviousSubWindow);

    QMenu* nHelp = menuBar()->addMenu("&Help");
    nHelp->setObjectName("nHelp");
    addItem(nHelp, "nHelpTopics", "&Help Topics", "", Command::HelpTopics);
    nHelp->addSeparator();
    addItem(nHelp, "nAbout", "&About...", "", Command::About);
}

void TfMainFrm::BuildToolBar()
{
    tbar = addToolBar("tbar");
    tbar->setObjectName("tbar");
    tbar->setMovable(false);
    tbar->setIconSize(QSize(24, 24));
    struct Button {
        const char* name;
        const char* hint;
        Command command;
        TArtwork icon;
        bool dividerAfter;
    };
    const Button buttons[] = {
        {"tbNew", "New", Command::New, TArtwork::New, false},
        {"tbOpen", "Open", Command::Open, TArtwork::Open, false},
        {"tbSave", "Save", Command::Save, TArtwork::Save, true},
        {"tbPrint", "Print", Command::Print, TArtwork::Print, true},
        {"tbCom", "COM", Command::CommunicationPort, TArtwork::Port, true},
        {"tbRead", "Read", Command::ReadFromRadio, TArtwork::Read, true},
        {"tbWrite", "Write", Command::WriteToRadio, TArtwork::Write, true},
        {"tbHelp", "Help", Command::HelpTopics, TArtwork::Help, false},
    };
    for (const Button& b : buttons) {
        QAction* a = tbar->addAction(ArtworkIcon(b.icon), b.hint);
        a->setObjectName(b.name);
        a->setToolTip(b.hint);
        a->setData(static_cast<int>(b.command));
        const Command command = b.command;
        connect(a, &QAction::triggered, this, [this, command] { RunCommand(command); });
        if (b.dividerAfter)
            tbar->addSeparator();
    }
}

void TfMainFrm::BuildStatusBar()
{
    for (int i = 0; i < 7; ++i) {
        MainBar[i] = new QLabel;
        MainBar[i]->setObjectName(QString("MainBar%1").arg(i));
        MainBar[i]->setMinimumWidth(kPanelWidths[i]);
        statusBar()->addWidget(MainBar[i]);
    }
}

void TfMainFrm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TfMainFrm::FormShow()
{
    StartFirstDocument();
    // The ports present: the stored port when it is one of them, else the
    // first of them; with none the stored name stays.
    std::vector<PortDevice> ports = EnumeratePorts();
    cbCom->clear();
    for (const PortDevice& p : ports)
        cbCom->addItem(QString::fromStdString(PortName(p.number)));
    ValidateComPort(ALL.ComPort, ports);
    cbCom->setCurrentText(QString::fromStdString(ALL.ComPort));
    UseQtTranslations(Language.Locale);
    LocaliseForm(this, false);
    FileName.clear();
    BuildTree();
    UpdateStatus(); // also the caption: the family name, no file yet
    ShowChannelEditor();
    StartUndoHistory(true);
    cxTree->expandAll();
    cxTree->setCurrentItem(cxTree->topLevelItem(0));
}

void TfMainFrm::BuildTree()
{
    QTreeWidgetItem* root = cxTree->topLevelItem(0);
    root->setText(0, QString::fromStdString(ALL.FamilyName));
    qDeleteAll(root->takeChildren());
    const QIcon nodeIcon = ArtworkIcon(TArtwork::Node);
    const QIcon channelIcon = ArtworkIcon(TArtwork::ChannelNode);
    for (Command command : kTreeOrder) {
        QAction* item = editItems_.at(command);
        if (!item->isVisible())
            continue;
        auto* node = new QTreeWidgetItem(root, QStringList(item->toolTip()));
        node->setData(0, kStateRole, static_cast<int>(command));
        node->setIcon(0, nodeIcon);
        if (command == Command::ChannelInformation && ALL.ChannelCount <= 16) {
            for (int k = 1; k <= ALL.ChannelCount; ++k) {
                auto* ch = new QTreeWidgetItem(node, QStringList(Label5->text() + " " + QString::number(k)));
                ch->setData(0, kStateRole, static_cast<int>(Command::ChannelNode));
                ch->setIcon(0, channelIcon);
            }
        }
    }
    cxTree->expandAll();
}

void TfMainFrm::UpdateStatus()
{
    MainBar[0]->clear();
    MainBar[1]->setText(QDate::currentDate().toString("yyyy/MM/dd"));
    MainBar[2]->setText(QTime::currentTime().toString("HH:mm:ss"));
    MainBar[3]->setText(lCom->text() + QString::fromStdString(ALL.ComPort));
    MainBar[4]->setText(QString::fromStdString(ALL.ModelName));
    MainBar[5]->setText(QString::fromStdString(ALL.BandText));
    MainBar[6]->setText("  ");
    QString caption = QString::fromStdString(ALL.FamilyName);
    if (!FileName.empty())
        caption += " [" + QString::fromStdString(FileName) + "]";
    setWindowTitle(caption);
}

void TfMainFrm::TimerTick()
{
    MainBar[2]->setText(QTime::currentTime().toString("HH:mm:ss"));
}

void TfMainFrm::SelectChannelNode()
{
    QTreeWidgetItem* root = cxTree->topLevelItem(0);
    if (!root || root->childCount() < 2)
        return;
    QTreeWidgetItem* channels = root->child(1);
    int k = ALL.CurrentChannel - 1;
    if (k >= 0 && k < channels->childCount())
        cxTree->setCurrentItem(channels->child(k));
}

void TfMainFrm::cxTreeClick(QTreeWidgetItem* item)
{
    if (!item || item != cxTree->currentItem())
        return;
    if (item->data(0, kStateRole).toInt() == static_cast<int>(Command::ChannelNode) && item->parent()) {
        ALL.CurrentChannel = item->parent()->indexOfChild(item) + 1;
        SelectChannelNode();
    }
}

void TfMainFrm::cxTreeDblClick(QTreeWidgetItem* item)
{
    if (!item || item != cxTree->currentItem())
        return;
    cxTreeClick(item);
    // The root's index is no command, and runs nothing.
    RunCommand(static_cast<Command>(item->data(0, kStateRole).toInt()));
}

bool TfMainFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == cxTree && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && cxTree->currentItem()) {
            QTreeWidgetItem* item = cxTree->currentItem();
            cxTreeDblClick(item);
            // The keyboard follows into the window the node brought forward.
            if (item->parent())
                FocusActiveEditor();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TfMainFrm::FocusActiveEditor()
{
    QMdiSubWindow* active = mdi->activeSubWindow() ? mdi->activeSubWindow() : mdi->currentSubWindow();
    if (!active || !active->widget())
        return false;
    mdi->setActiveSubWindow(active);
    // Where the window had the keyboard last, else its first control.
    QWidget* editor = active->widget();
    QWidget* target = editor->focusWidget();
    for (QWidget* w = editor->nextInFocusChain(); !target && w != editor; w = w->nextInFocusChain())
        if (editor->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(editor) && w->isEnabled())
            target = w;
    (target ? target : editor)->setFocus(Qt::OtherFocusReason);
    return true;
}

void TfMainFrm::NextPane()
{
    if (pTree->isAncestorOf(QApplication::focusWidget()) && FocusActiveEditor())
        return;
    pTree->show();
    cxTree->setFocus(Qt::OtherFocusReason);
}

void TfMainFrm::BuildWindowMenu()
{
    // Present but hidden: its commands are reached through RunCommand only.
    QMenu* nWindow = menuBar()->addMenu("&Window");
    nWindow->setObjectName("nWindow");
    nWindow->menuAction()->setVisible(false);
    AddMenuItem(nWindow, "nCascade", "&Cascade", "", Command::Cascade);
    AddMenuItem(nWindow, "nTileHorizontal", "Tile Windows &Horizontally", "", Command::TileHorizontally);
    AddMenuItem(nWindow, "nTileVertical", "Tile Windows &Vertically", "", Command::TileVertically);
    AddMenuItem(nWindow, "nArrangeIcons", "&Arrange Icons", "", Command::ArrangeIcons);
    AddMenuItem(nWindow, "nCloseAll", "Close All &Windows", "", Command::CloseAllWindows);
}
