#pragma once
// The main window: menus, tool bar, navigation tree and status bar around a
// multiple-document area that holds the editor windows. Every command goes
// through RunCommand.
#include <QMainWindow>
#include <string>

#include "core/DocumentView.h"
#include "core/Documents.h"

class QAction;
class QComboBox;
class QLabel;
class QMdiArea;
class QMenu;
class QMdiSubWindow;
class QTimer;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class TfModel;

// The command of the channel information window, which every document change
// reopens.
inline constexpr int kChannelInfoCommand = 10;

class TfMainFrm : public QMainWindow, public TDocumentView, public TFileChooser {
    Q_OBJECT
public:
    explicit TfMainFrm(QWidget* parent = nullptr);
    ~TfMainFrm() override;

    // The show sequence of the first show: document, port check, tree,
    // status, channel editor.
    void FormShow();
    void RunCommand(int command);

    // TDocumentView
    void BuildTree() override;
    void UpdateStatus() override;
    void RefreshEditors() override;
    void SelectChannelNode() override;

    void CloseEditors();
    // Command 30 after the model dialog was accepted: the chosen model and
    // band start a new document. False when nothing changed.
    bool ApplyModelChoice(const TfModel& dialog);
    // Shows the editor window that `command` opens (10, 12, 13, 14, 15, 17,
    // 19), creating it when there is none; false for another command.
    bool ShowEditor(int command);
    // Shows the channel information window, creating it when needed.
    void ShowChannelEditor();

    // TFileChooser: the open and save dialogs.
    std::optional<std::string> ChooseOpen() override;
    std::optional<std::string> ChooseSave() override;

    std::string FileName;

    QTreeWidget* cxTree = nullptr;
    QToolBar* tbar = nullptr;
    QMdiArea* mdi = nullptr;
    QLabel* MainBar[7] = {};
    QComboBox* cbCom = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QAction* AddMenuItem(QMenu* menu, const char* name, const char* caption, const char* shortcut, int command);
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void cxTreeClick(QTreeWidgetItem* item);
    void cxTreeDblClick(QTreeWidgetItem* item);
    void TimerTick();
    void ShowAbout();
    void OpenHelp();
    void ChangeLanguage();
    void BuildWindowMenu();
    QMdiSubWindow* SubWindowOf(QWidget* editor) const;

    QWidget* pTree = nullptr;
    QTimer* Timer = nullptr;
    // Hidden labels that only carry localisable texts: the prefix of the
    // channel nodes and of the port panel.
    QLabel* Label5 = nullptr;
    QLabel* lCom = nullptr;
    bool shown_ = false;
    bool closing_ = false;
};

extern TfMainFrm* fMainFrm;
