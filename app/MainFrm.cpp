#include "app/MainFrm.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDesktopServices>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
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
#include <QUrl>
#include <QVBoxLayout>

#include "app/AboutDlg.h"
#include "app/Artwork.h"
#include "app/ModelDlg.h"
#include "app/NumberText.h"
#include "app/State.h"
#include "editors/ChsInfo.h"
#include "link/PortNames.h"
#include "link/ReadRadio.h"
#include "link/SetPort.h"
#include "link/WriteRadio.h"
#include "editors/DtmfFun.h"
#include "editors/InfoMsg.h"
#include "editors/KeyFun.h"
#include "editors/OptFun.h"
#include "editors/ScanFun.h"
#include "editors/VoxFun.h"
#include "settings/Language.h"
#include "settings/LocaliseForm.h"
#include "settings/SetLanguageDlg.h"
#include "settings/SysInfo.h"

TfMainFrm* fMainFrm = nullptr;

namespace {
constexpr int kRootIndex = -1;
constexpr int kChannelNodeIndex = 11;
constexpr int kChannelInfoCommand = 10;
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

// Every editor window: the command that opens it, its one open instance (or
// nullptr), how to make a new one and how to fill it. The window is filled
// inside its frame and before the frame is sized, so the frame takes the
// filled window's size.
struct EditorKind {
    int command;
    QWidget* (*open)();
    QWidget* (*create)();
    void (*fill)(QWidget*);
    QSize (*size)(QWidget*);
};

template <class Editor>
QWidget* MakeEditor()
{
    return new Editor;
}

template <class Editor>
void FillEditor(QWidget* editor)
{
    static_cast<Editor*>(editor)->FormShow();
}

// The settings editors lay themselves out; the frame takes their preferred
// size, wide enough for the longest list texts.
QSize HintedSize(QWidget* editor)
{
    return editor->sizeHint().expandedTo(QSize(340, 0));
}

const EditorKind kEditors[] = {
    {10, [] { return static_cast<QWidget*>(fChsInfo); }, MakeEditor<TfChsInfo>, FillEditor<TfChsInfo>,
     [](QWidget* e) { return static_cast<TfChsInfo*>(e)->FormSize(); }},
    {12, [] { return static_cast<QWidget*>(fKeyFun); }, MakeEditor<TfKeyFun>, FillEditor<TfKeyFun>, HintedSize},
    {13, [] { return static_cast<QWidget*>(fVoxFun); }, MakeEditor<TfVoxFun>, FillEditor<TfVoxFun>, HintedSize},
    {14, [] { return static_cast<QWidget*>(fOptFun); }, MakeEditor<TfOptFun>, FillEditor<TfOptFun>, HintedSize},
    {15, [] { return static_cast<QWidget*>(fInfoMsg); }, MakeEditor<TfInfoMsg>, FillEditor<TfInfoMsg>, HintedSize},
    {17, [] { return static_cast<QWidget*>(fDtmfFun); }, MakeEditor<TfDtmfFun>, FillEditor<TfDtmfFun>, HintedSize},
    {19, [] { return static_cast<QWidget*>(fScanFun); }, MakeEditor<TfScanFun>, FillEditor<TfScanFun>, HintedSize},
};
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

QMdiSubWindow* TfMainFrm::SubWindowOf(QWidget* editor) const
{
    for (QMdiSubWindow* w : mdi->subWindowList())
        if (w->widget() == editor)
            return w;
    return nullptr;
}

bool TfMainFrm::ShowEditor(int command)
{
    const EditorKind* kind = nullptr;
    for (const EditorKind& k : kEditors)
        if (k.command == command)
            kind = &k;
    if (!kind)
        return false;
    if (!kind->open()) {
        QWidget* editor = kind->create();
        QMdiSubWindow* sub = mdi->addSubWindow(editor);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        kind->fill(editor);
        sub->resize(kind->size(editor));
        sub->move(20, 20);
    }
    if (QMdiSubWindow* sub = SubWindowOf(kind->open())) {
        sub->show();
        if (sub->isMinimized())
            sub->showNormal();
        mdi->setActiveSubWindow(sub);
    }
    return true;
}

void TfMainFrm::ShowChannelEditor()
{
    ShowEditor(kChannelInfoCommand);
}

void TfMainFrm::CloseEditors()
{
    if (QMdiSubWindow* sub = fChsInfo ? SubWindowOf(fChsInfo) : nullptr)
        delete sub; // destroyed at once, so a new one can open right away
    for (QMdiSubWindow* w : mdi->subWindowList())
        w->close();
}

void TfMainFrm::RefreshEditors()
{
    CloseEditors();
    ShowChannelEditor();
}

std::optional<std::string> TfMainFrm::ChooseOpen()
{
    QString path = QFileDialog::getOpenFileName(this, QString(), QString(), "Data File(*.dat)");
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

std::optional<std::string> TfMainFrm::ChooseSave()
{
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter("Data File(*.dat)");
    dialog.setDefaultSuffix("dat");
    // The program asks "FileExists" itself.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

void TfMainFrm::RunCommand(int command)
{
    // A frequency still being typed belongs to the document before any
    // command looks at it (Ctrl+S in the middle of an edit must save it).
    if (fChsInfo)
        fChsInfo->FormDeactivate();
    cxTree->setFocus();
    switch (command) {
    case 1:
        NewDocument(FileName, *this);
        break;
    case 2:
        OpenDocument(FileName, *this);
        break;
    case 3:
        SaveDocument(FileName, *this);
        break;
    case 4:
        FileName.clear();
        SaveDocument(FileName, *this);
        break;
    case 10:
    case 11:
        ShowChannelEditor();
        break;
    case 20: {
        TfReadRadio dialog(this);
        dialog.exec();
        if (dialog.ReadSucceeded()) {
            FileName.clear();
            UpdateStatus();
            RefreshEditors();
        }
        break;
    }
    case 21: {
        TfWriteRadio dialog(this);
        dialog.exec();
        break;
    }
    case 31: {
        TfSetPort dialog(this);
        dialog.exec();
        UpdateStatus();
        break;
    }
    case 12:
    case 13:
    case 14:
    case 15:
    case 17:
    case 19:
        ShowEditor(command);
        break;
    case 30: {
        TfModel dialog(this);
        if (dialog.exec() == QDialog::Accepted)
            ApplyModelChoice(dialog);
        break;
    }
    case 32:
        ChangeLanguage();
        break;
    case 50:
        mdi->cascadeSubWindows();
        break;
    case 51:
    case 52:
        mdi->tileSubWindows();
        break;
    case 53:
        break; // minimised child windows line up by themselves
    case 54: {
        QList<QMdiSubWindow*> windows = mdi->subWindowList(QMdiArea::CreationOrder);
        for (auto it = windows.rbegin(); it != windows.rend(); ++it)
            (*it)->close();
        break;
    }
    case 60:
        OpenHelp();
        break;
    case 61:
        ShowAbout();
        break;
    default:
        // Commands whose windows are not built yet, and the hidden ones.
        break;
    }
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

void TfMainFrm::ChangeLanguage()
{
    TfSetLanguage dialog(this);
    dialog.exec();
    if (!dialog.Changed)
        return;
    LoadLanguage(ALL.LanguageName);
    LocaliseForm(this, true);
    UpdateStatus();
    CloseEditors();
    BuildTree();
    ShowChannelEditor();
    // The document is the same document in other words: changes made before
    // the switch are still unsaved, so Modified stays as it was and Exit,
    // New and Open still offer to save them.
}

void TfMainFrm::OpenHelp()
{
    // A help viewer already showing the help ("_Help") cannot be found from
    // here on Linux desktops: window titles of other programs are not ours
    // to enumerate under Wayland. The desktop's viewer handles a second open.
    QString path = QString::fromStdString(ALL.AppPath + "_" + ALL.LanguageName + ".chm");
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void TfMainFrm::ShowAbout()
{
    TfFrmAbout dialog(this);
    dialog.exec();
}

void TfMainFrm::closeEvent(QCloseEvent* event)
{
    if (fChsInfo)
        fChsInfo->FormDeactivate();
    if (closing_ || ConfirmClose(FileName, *this)) {
        closing_ = true;
        ALL.ComPort = ComPortToSave(); // a port given on the command line is not kept
        SaveSysInfo();
        event->accept();
    } else {
        event->ignore();
    }
}

bool TfMainFrm::ApplyModelChoice(const TfModel& dialog)
{
    return ChangeModel(dialog.cbCopmut->currentText().toStdString(), dialog.cbPd->currentText().toStdString(),
                       FileName, *this);
}
