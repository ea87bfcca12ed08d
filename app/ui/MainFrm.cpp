#include "app/ui/MainFrm.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/ui/Artwork.h"
#include "core/NumberText.h"
#include "core/State.h"
#include "link/PortNames.h"
#include "settings/ui/LocaliseForm.h"

TfMainFrm* fMainFrm = nullptr;

namespace {
constexpr int kRootIndex = -1;
constexpr int kChannelNodeIndex = 11;
constexpr int kStateRole = Qt::UserRole + 1;
const int kPanelWidths[7] = {50, 80, 120, 120, 120, 120, 100};

// The Edit menu in menu order, and the order the tree lists its items in.
struct EditItem {
    const char* name;
    const char* caption;
    int command;
};
constexpr EditItem kEditItems[] = {
    {"nChsV_Info", "C&hannel Information", 10}, {"nKeys_Funs", "&Key Function", 12},
    {"nVoxs_Funs", "&Vox Function", 13},        {"nOpts_Funs", "&Optional Function", 14},
    {"nScan_Funs", "&Scan Information", 19},    {"nDtmf_Funs", "&DTMF Information", 17},
    {"nMode_Info", "Radio &Information", 15},
};
constexpr const char* kTreeOrder[] = {"nMode_Info", "nChsV_Info", "nKeys_Funs", "nVoxs_Funs",
                                      "nOpts_Funs", "nScan_Funs", "nDtmf_Funs"};

QString Hint(const char* caption)
{
    return QString::fromUtf8(caption).remove('&');
}
}


TfMainFrm::TfMainFrm(QWidget* parent) : QMainWindow(parent)
{
    fMainFrm = this;
    setObjectName("fMainFrm");
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
    TreeHide->setFixedSize(18, 18);
    connect(TreeHide, &QPushButton::clicked, pTree, &QWidget::hide);
    hideRow->addWidget(TreeHide);
    treeLayout->addLayout(hideRow);
    cxTree = new QTreeWidget;
    cxTree->setObjectName("cxTree");
    cxTree->setHeaderHidden(true);
    treeLayout->addWidget(cxTree);
    cxTree->setIconSize(QSize(18, 18));
    cxTree->setIndentation(14);
    auto* root = new QTreeWidgetItem(cxTree, QStringList(QString::fromStdString(ALL.FamilyName)));
    root->setIcon(0, ArtworkIcon(TArtwork::Radio));
    root->setData(0, kStateRole, kRootIndex);
    connect(cxTree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* i) { cxTreeClick(i); });
    connect(cxTree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* i) { cxTreeDblClick(i); });

    auto* splitter = new QSplitter;
    splitter->addWidget(pTree);
    splitter->addWidget(mdi);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({185, 1000});
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
    if (fMainFrm == this)
        fMainFrm = nullptr;
}

QAction* TfMainFrm::AddMenuItem(QMenu* menu, const char* name, const char* caption, const char* shortcut, int command)
{
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setObjectName(name);
    a->setData(command);
    if (shortcut && *shortcut)
        a->setShortcut(QKeySequence(QString::fromUtf8(shortcut)));
    connect(a, &QAction::triggered, this, [this, command] { RunCommand(command); });
    return a;
}

void TfMainFrm::BuildMenus()
{
    auto addItem = [this](QMenu* menu, const char* name, const char* caption, const char* shortcut, int command) {
        return AddMenuItem(menu, name, caption, shortcut, command);
    };
    QMenu* nFile = menuBar()->addMenu("&File");
    nFile->setObjectName("nFile");
    addItem(nFile, "N1", "&New", "Ctrl+N", 1);
    addItem(nFile, "O1", "&Open", "Ctrl+O", 2);
    addItem(nFile, "S2", "&Save", "Ctrl+S", 3);
    addItem(nFile, "A1", "Save &As", "Ctrl+A", 4);
    nFile->addSeparator();
    QAction* nExit = nFile->addAction("&Exit");
    nExit->setObjectName("nExit");
    nExit->setShortcut(QKeySequence("Ctrl+X"));
    connect(nExit, &QAction::triggered, this, &QWidget::close);

    QMenu* nEdit = menuBar()->addMenu("&Edit");
    nEdit->setObjectName("nEdit");
    for (const EditItem& item : kEditItems) {
        QAction* a = addItem(nEdit, item.name, item.caption, "", item.command);
        a->setToolTip(Hint(item.caption));
        a->setStatusTip(Hint(item.caption));
        if (item.command == kChannelInfoCommand)
            nEdit->addSeparator();
    }
    // Present but hidden: the embedded message dialog is reached through
    // RunCommand only.
    addItem(nEdit, "E11", "&Embedded Message", "", 18)->setVisible(false);

    QMenu* nProgram = menuBar()->addMenu("&Program");
    nProgram->setObjectName("nProgram");
    addItem(nProgram, "R1", "&Read From Radio", "Ctrl+R", 20);
    addItem(nProgram, "W2", "&Write To Radio", "Ctrl+W", 21);
    nProgram->addSeparator();

    QMenu* nSetup = menuBar()->addMenu("&Setup");
    nSetup->setObjectName("nSetup");
    addItem(nSetup, "N4", "&Model Information", "", 30);
    nSetup->addSeparator();
    addItem(nSetup, "C2", "&Communication Port", "", 31);
    addItem(nSetup, "nLanguage", "Language File Setup", "", 32);

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

    QMenu* nHelp = menuBar()->addMenu("&Help");
    nHelp->setObjectName("nHelp");
    addItem(nHelp, "nHelpTopics", "&Help Topics", "", 60);
    nHelp->addSeparator();
    addItem(nHelp, "nAbout", "About...", "", 61);
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
        int command;
        TArtwork icon;
        bool dividerAfter;
    };
    const Button buttons[] = {
        {"tbNew", "New", 1, TArtwork::New, false},
        {"tbOpen", "Open", 2, TArtwork::Open, false},
        {"tbSave", "Save", 3, TArtwork::Save, true},
        {"tbPrint", "Print", 5, TArtwork::Print, true},
        {"tbCom", "COM", 31, TArtwork::Port, true},
        {"tbRead", "Read", 20, TArtwork::Read, true},
        {"tbWrite", "Write", 21, TArtwork::Write, true},
        {"tbHelp", "Help", 60, TArtwork::Help, false},
    };
    for (const Button& b : buttons) {
        QAction* a = tbar->addAction(ArtworkIcon(b.icon), b.hint);
        a->setObjectName(b.name);
        a->setToolTip(b.hint);
        a->setData(b.command);
        int command = b.command;
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
    ValidateComPort(ports);
    cbCom->setCurrentText(QString::fromStdString(ALL.ComPort));
    LocaliseForm(this, false);
    FileName.clear();
    BuildTree();
    UpdateStatus(); // also the caption: the family name, no file yet
    ShowChannelEditor();
    ALL.Modified = false;
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
    for (const char* name : kTreeOrder) {
        QAction* item = findChild<QAction*>(name);
        if (!item || !item->isVisible())
            continue;
        auto* node = new QTreeWidgetItem(root, QStringList(item->toolTip()));
        node->setData(0, kStateRole, item->data().toInt());
        node->setIcon(0, nodeIcon);
        if (item->data().toInt() == kChannelInfoCommand && ALL.ChannelCount <= 16) {
            for (int k = 1; k <= ALL.ChannelCount; ++k) {
                auto* ch = new QTreeWidgetItem(node, QStringList(Label5->text() + " " + QString::number(k)));
                ch->setData(0, kStateRole, kChannelNodeIndex);
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
    if (item->data(0, kStateRole).toInt() == kChannelNodeIndex && item->parent()) {
        ALL.CurrentChannel = item->parent()->indexOfChild(item) + 1;
        SelectChannelNode();
    }
}

void TfMainFrm::cxTreeDblClick(QTreeWidgetItem* item)
{
    if (!item || item != cxTree->currentItem())
        return;
    cxTreeClick(item);
    RunCommand(item->data(0, kStateRole).toInt());
}


void TfMainFrm::BuildWindowMenu()
{
    // Present but hidden: its commands are reached through RunCommand only.
    QMenu* nWindow = menuBar()->addMenu("&Window");
    nWindow->setObjectName("nWindow");
    nWindow->menuAction()->setVisible(false);
    AddMenuItem(nWindow, "nCascade", "&Cascade", "", 50);
    AddMenuItem(nWindow, "nTileHorizontal", "Tile Windows &Horizontally", "", 51);
    AddMenuItem(nWindow, "nTileVertical", "Tile Windows &Vertically", "", 52);
    AddMenuItem(nWindow, "nArrangeIcons", "&Arrange Icons", "", 53);
    AddMenuItem(nWindow, "nCloseAll", "Close All &Windows", "", 54);
}
