// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: menus, tool bar, navigation tree and status bar around a
// multiple-document area that holds the editor windows. Every command goes
// through RunCommand.
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "app/ui/Command.h"
#include "document/DocumentChange.h"
#include "document/Documents.h"
#include "document/DocumentView.h"

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
class QUndoStack;
class QUrl;
class QWidget;
class TfChsInfo;
struct ModelChoice;

class TfMainFrm : public QMainWindow, public TDocumentView, public TFileChooser {
    Q_OBJECT
public:
    explicit TfMainFrm(QWidget* parent = nullptr);
    ~TfMainFrm() override;

    // The show sequence of the first show: document, port check, tree,
    // status, channel editor.
    void FormShow();
    void RunCommand(Command command);
    // File > Import of a chosen file: CSV (ImportCsv) or JSON (ImportJson).
    // Refreshes the tree and the editors, sets Modified, and shows the rows
    // the import did not take in a report window.
    void ImportPath(const std::string& path, Command command, bool keepLocations);
    // Opens the data file at `path` as File > Open opens the file chosen,
    // the offer to save the changes first included: a file named on the
    // command line or dropped on the window.
    void OpenPath(const std::string& path);

    // TDocumentView
    void BuildTree() override;
    void UpdateStatus() override;
    void RefreshEditors() override;
    void SelectChannelNode() override;
    void BeginChange(const std::function<std::string()>& name, bool mergeable) override;
    void EndChange() override;

    // The changes of the document for undo. A new document, an Open, a read
    // and a model change start it afresh; a save marks its clean state, and
    // Modified is true whenever the document is not in that state.
    QUndoStack* UndoStack() const { return undoStack_; }
    // Puts the document of `snapshot` in place and shows it in every open
    // window, which keeps its place.
    void ShowSnapshot(const TDocumentSnapshot& snapshot);
    // The Edit menu's undo, clipboard and channel items, by command.
    QAction* EditAction(Command command) const;
    // The channel items of the Edit menu, as the grid's context menu lists them.
    QList<QAction*> SheetActions() const { return contextItems_; }

    void CloseEditors();
    // Model Information after the dialog was accepted: the chosen model and
    // band start a new document. False when nothing changed.
    bool ApplyModelChoice(const ModelChoice& choice);
    // Shows the editor window that `command` opens, creating it when there
    // is none; false for a command that opens no editor.
    bool ShowEditor(Command command);
    // Shows the channel information window, creating it when needed.
    void ShowChannelEditor();
    // The open editor window of `command`, nullptr when there is none. A
    // closed editor counts as gone at once, before its deferred deletion.
    QWidget* Editor(Command command) const;
    TfChsInfo* ChannelEditor() const;

    // TFileChooser: the open and save dialogs.
    std::optional<std::string> ChooseOpen() override;
    std::optional<std::string> ChooseSave() override;

    std::string FileName;
    // Help Topics: hands a file to the desktop, and tells whether the
    // desktop has a program for a file; empty means the desktop's own.
    // Tests put in their own.
    std::function<bool(const QUrl&)> OpenUrl;
    std::function<bool(const QString&)> HasViewer;

    QTreeWidget* cxTree = nullptr;
    QToolBar* tbar = nullptr;
    QMdiArea* mdi = nullptr;
    QLabel* MainBar[7] = {};
    QComboBox* cbCom = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* AddMenuItem(QMenu* menu, const char* name, const char* caption, const char* shortcut, Command command);
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void cxTreeClick(QTreeWidgetItem* item);
    void cxTreeDblClick(QTreeWidgetItem* item);
    // F6: from the tree to the active editor window and back.
    void NextPane();
    // Gives the keyboard to the active editor window; false without one.
    bool FocusActiveEditor();
    void TimerTick();
    void ShowAbout();
    void OpenHelp();
    void ChangeLanguage();
    // File > Backups: the chosen backup becomes the document.
    void OpenBackup();
    void BuildWindowMenu();
    // File > Import, Export and Print (MainFrmInterchange.cpp).
    void ImportFile(Command command);
    void ExportFile(Command command);
    void PrintDocument();
    void BuildSheetMenu(QMenu* nEdit);
    // Relabels the undo and clipboard items in the current language.
    void UpdateSheetTexts();
    // Fill Down named after the grid's current column, and off where the
    // column is none that it fills; `enabled` is false where no channel
    // item applies.
    void UpdateFillDownItem(bool enabled);
    // `saved`: the document is the one on disk (New, Open, model change),
    // not one read from a radio.
    void StartUndoHistory(bool saved);
    // Runs the undo and channel commands; false for any other command.
    bool RunSheetCommand(Command command);
    QMdiSubWindow* SubWindowOf(QWidget* editor) const;

    QWidget* pTree = nullptr;
    QTimer* Timer = nullptr;
    // Hidden labels that only carry localisable texts: the prefix of the
    // channel nodes and of the port panel.
    QLabel* Label5 = nullptr;
    QLabel* lCom = nullptr;
    // The Edit menu items by command; the tree takes its nodes from them.
    std::map<Command, QAction*> editItems_;
    // The editor windows, at most one per command. The pointers empty
    // themselves when a window is destroyed.
    std::map<Command, QPointer<QWidget>> editors_;
    std::map<Command, QAction*> sheetItems_;
    QList<QAction*> contextItems_;
    QUndoStack* undoStack_ = nullptr;
    // The change being made: its name and the document before it.
    std::optional<TDocumentSnapshot> changeBefore_;
    std::function<std::string()> changeName_;
    bool changeMergeable_ = false;
    bool shown_ = false;
    bool closing_ = false;
};
