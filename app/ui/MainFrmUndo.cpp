// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's undo history and the Edit menu items that edit the
// channels like a sheet: each user change of the document is one step that
// holds the document before and after it.
#include <QAction>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QUndoStack>

#include "app/ui/MainFrm.h"
#include "core/State.h"
#include "editors/SheetTexts.h"
#include "editors/ui/ChsInfo.h"
#include "editors/ui/EditorForm.h"

namespace {

// Changes that join the step before them share this id.
constexpr int kMergeableId = 1;

class TSnapshotCommand : public QUndoCommand {
public:
    TSnapshotCommand(TfMainFrm* window, std::function<std::string()> name, bool mergeable,
                     const TDocumentSnapshot& before, const TDocumentSnapshot& after)
        : QUndoCommand(QString::fromStdString(name())), window_(window), name_(std::move(name)), mergeable_(mergeable),
          before_(before), after_(after)
    {
    }

    // The name in the language shown now.
    std::string Name() const { return name_(); }

    int id() const override { return mergeable_ ? kMergeableId : -1; }

    bool mergeWith(const QUndoCommand* other) override
    {
        if (other->id() != id() || other->text() != text())
            return false;
        after_ = static_cast<const TSnapshotCommand*>(other)->after_;
        // Typed and typed back: the step changes nothing any more.
        setObsolete(after_.Image == before_.Image);
        return true;
    }

    void undo() override { window_->ShowSnapshot(before_); }

    void redo() override
    {
        // The change is in the document already when it is pushed.
        if (done_)
            window_->ShowSnapshot(after_);
        done_ = true;
    }

private:
    TfMainFrm* window_;
    std::function<std::string()> name_;
    bool mergeable_;
    bool done_ = false;
    TDocumentSnapshot before_;
    TDocumentSnapshot after_;
};

struct SheetItem {
    Command command;
    const char* text; // key of the text in the sheet texts
    QKeySequence::StandardKey standardKey;
    const char* shortcut;
    bool separatorAfter;
    void (*operation)(TfChsInfo&); // on the grid's selection; none for undo and redo
};
const SheetItem kSheetItems[] = {
    {Command::Undo, "Undo", QKeySequence::Undo, "", false, nullptr},
    {Command::Redo, "Redo", QKeySequence::UnknownKey, "", true, nullptr},
    {Command::CopyChannels, "Copy", QKeySequence::Copy, "", false, [](TfChsInfo& c) { c.CopyChannels(); }},
    {Command::PasteChannels, "Paste", QKeySequence::Paste, "", false, [](TfChsInfo& c) { c.PasteChannels(); }},
    // Not Ctrl+A: that is Save As.
    {Command::SelectAllChannels, "SelectAll", QKeySequence::UnknownKey, "Ctrl+Shift+A", true,
     [](TfChsInfo& c) { c.SelectAllChannels(); }},
    {Command::ClearChannels, "Clear", QKeySequence::UnknownKey, "Del", false, [](TfChsInfo& c) { c.ClearSelected(); }},
    {Command::MoveChannelsUp, "MoveUp", QKeySequence::UnknownKey, "Ctrl+Up", false,
     [](TfChsInfo& c) { c.MoveSelected(-1); }},
    {Command::MoveChannelsDown, "MoveDown", QKeySequence::UnknownKey, "Ctrl+Down", false,
     [](TfChsInfo& c) { c.MoveSelected(1); }},
    {Command::InsertChannel, "InsertChannel", QKeySequence::UnknownKey, "Ins", false,
     [](TfChsInfo& c) { c.InsertChannel(); }},
    {Command::FillDown, "FillDown", QKeySequence::UnknownKey, "Ctrl+D", false,
     [](TfChsInfo& c) { c.FillDownSelected(); }},
    {Command::SortChannels, "Sort", QKeySequence::UnknownKey, "", true, [](TfChsInfo& c) { c.SortSelected(); }},
};

QString Text(const std::string& key, const std::vector<std::string>& args = {})
{
    return QString::fromStdString(SheetText(key, args));
}

} // namespace

void TfMainFrm::BuildSheetMenu(QMenu* nEdit)
{
    undoStack_ = new QUndoStack(this);
    for (const SheetItem& item : kSheetItems) {
        QAction* a = nEdit->addAction(Text(item.text));
        a->setData(static_cast<int>(item.command));
        if (item.standardKey != QKeySequence::UnknownKey)
            a->setShortcuts(item.standardKey);
        else if (*item.shortcut)
            a->setShortcut(QKeySequence(QString::fromUtf8(item.shortcut)));
        const Command command = item.command;
        connect(a, &QAction::triggered, this, [this, command] { RunCommand(command); });
        sheetItems_[command] = a;
        const bool channelItem = command != Command::Undo && command != Command::Redo;
        if (channelItem)
            contextItems_.append(a);
        if (item.separatorAfter) {
            QAction* separator = nEdit->addSeparator();
            if (channelItem)
                contextItems_.append(separator);
        }
    }
    // Both keys of the desktops: Ctrl+Shift+Z and Ctrl+Y.
    sheetItems_[Command::Redo]->setShortcuts({QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")});
    connect(undoStack_, &QUndoStack::indexChanged, this, &TfMainFrm::UpdateSheetTexts);
    connect(undoStack_, &QUndoStack::cleanChanged, this, [this](bool clean) { ALL.Modified = !clean; });
    // The channel items act on the channel grid; elsewhere they are off.
    connect(nEdit, &QMenu::aboutToShow, this, [this] {
        const bool grid = ChannelEditor() && mdi->currentSubWindow() == SubWindowOf(ChannelEditor());
        for (const SheetItem& item : kSheetItems)
            if (item.command != Command::Undo && item.command != Command::Redo)
                sheetItems_[item.command]->setEnabled(grid);
        UpdateFillDownItem(grid);
    });
    // Their keys stay on: RunSheetCommand looks where they were pressed.
    connect(nEdit, &QMenu::aboutToHide, this, [this] {
        for (const SheetItem& item : kSheetItems)
            if (item.command != Command::Undo && item.command != Command::Redo)
                sheetItems_[item.command]->setEnabled(true);
        UpdateFillDownItem(true);
    });
    UpdateSheetTexts();
}

void TfMainFrm::UpdateSheetTexts()
{
    for (const SheetItem& item : kSheetItems)
        sheetItems_[item.command]->setText(Text(item.text));
    QAction* undo = sheetItems_[Command::Undo];
    QAction* redo = sheetItems_[Command::Redo];
    undo->setEnabled(undoStack_->canUndo());
    redo->setEnabled(undoStack_->canRedo());
    auto name = [this](int index) { return static_cast<const TSnapshotCommand*>(undoStack_->command(index))->Name(); };
    if (undoStack_->canUndo())
        undo->setText(Text("UndoNamed", {name(undoStack_->index() - 1)}));
    if (undoStack_->canRedo())
        redo->setText(Text("RedoNamed", {name(undoStack_->index())}));
    UpdateFillDownItem(true);
}

void TfMainFrm::UpdateFillDownItem(bool enabled)
{
    // Whole rows selected show no column: the item names the one it fills.
    TfChsInfo* channels = ChannelEditor();
    const QString column = channels ? channels->FillDownColumnTitle() : QString();
    QAction* item = sheetItems_[Command::FillDown];
    item->setText(column.isEmpty() ? Text("FillDown") : Text("FillDownColumn", {column.toStdString()}));
    item->setEnabled(enabled && !column.isEmpty());
}

QAction* TfMainFrm::EditAction(Command command) const
{
    auto it = sheetItems_.find(command);
    return it == sheetItems_.end() ? nullptr : it->second;
}

void TfMainFrm::StartUndoHistory(bool saved)
{
    changeBefore_.reset();
    undoStack_->clear();
    // An empty history keeps the clean state it had, which after a read
    // from the radio is none.
    if (saved)
        undoStack_->setClean();
    else
        undoStack_->resetClean(); // no state of it is on disk
    ALL.Modified = !undoStack_->isClean();
    UpdateSheetTexts();
}

void TfMainFrm::BeginChange(const std::function<std::string()>& name, bool mergeable)
{
    changeBefore_ = TakeSnapshot();
    changeName_ = name;
    changeMergeable_ = mergeable;
}

void TfMainFrm::EndChange()
{
    if (!changeBefore_)
        return;
    const TDocumentSnapshot before = *changeBefore_;
    changeBefore_.reset();
    const TDocumentSnapshot after = TakeSnapshot();
    if (after.Image != before.Image)
        undoStack_->push(new TSnapshotCommand(this, changeName_, changeMergeable_, before, after));
    // The windows set Modified on every store; the history knows better.
    ALL.Modified = !undoStack_->isClean();
}

void TfMainFrm::ShowSnapshot(const TDocumentSnapshot& snapshot)
{
    RestoreSnapshot(snapshot);
    for (const auto& [command, editor] : editors_) {
        if (auto* channels = qobject_cast<TfChsInfo*>(editor.data()))
            channels->FillAllRows();
        else if (auto* form = qobject_cast<TfEditorForm*>(editor.data()))
            form->Refill();
    }
    SelectChannelNode();
}

bool TfMainFrm::RunSheetCommand(Command command)
{
    if (command == Command::Undo) {
        undoStack_->undo();
        return true;
    }
    if (command == Command::Redo) {
        undoStack_->redo();
        return true;
    }
    if (!sheetItems_.count(command))
        return false;
    TfChsInfo* channels = ChannelEditor();
    // A key pressed in another editor window is not meant for the channels.
    if (!channels || mdi->currentSubWindow() != SubWindowOf(channels))
        return true;
    for (const SheetItem& item : kSheetItems)
        if (item.command == command && item.operation)
            item.operation(*channels);
    return true;
}
