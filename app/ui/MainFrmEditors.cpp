// SPDX-License-Identifier: GPL-3.0-or-later
// The editor windows inside the main window: at most one of each kind.
#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <QMdiSubWindow>
#include <QTableWidget>

#include "app/ui/MainFrm.h"
#include "editors/ui/ChsInfo.h"
#include "editors/ui/DtmfFun.h"
#include "editors/ui/InfoMsg.h"
#include "editors/ui/KeyFun.h"
#include "editors/ui/OptFun.h"
#include "editors/ui/ScanFun.h"
#include "editors/ui/VoxFun.h"

namespace {

// Every editor window: the command that opens it, how to make a new one and
// how to fill it. The window is filled inside its frame and before the frame
// is sized, so the frame takes the filled window's size.
struct EditorKind {
    Command command;
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
    {Command::ChannelInformation, MakeEditor<TfChsInfo>, FillEditor<TfChsInfo>,
     [](QWidget* e) { return static_cast<TfChsInfo*>(e)->FormSize(); }},
    {Command::KeyFunction, MakeEditor<TfKeyFun>, FillEditor<TfKeyFun>, HintedSize},
    {Command::VoxFunction, MakeEditor<TfVoxFun>, FillEditor<TfVoxFun>, HintedSize},
    {Command::OptionalFunction, MakeEditor<TfOptFun>, FillEditor<TfOptFun>, HintedSize},
    {Command::RadioInformation, MakeEditor<TfInfoMsg>, FillEditor<TfInfoMsg>, HintedSize},
    {Command::DtmfInformation, MakeEditor<TfDtmfFun>, FillEditor<TfDtmfFun>, HintedSize},
    {Command::ScanInformation, MakeEditor<TfScanFun>, FillEditor<TfScanFun>, HintedSize},
};

} // namespace

QMdiSubWindow* TfMainFrm::SubWindowOf(QWidget* editor) const
{
    for (QMdiSubWindow* w : mdi->subWindowList())
        if (w->widget() == editor)
            return w;
    return nullptr;
}

QWidget* TfMainFrm::Editor(Command command) const
{
    auto it = editors_.find(command);
    if (it == editors_.end() || !it->second)
        return nullptr;
    // A closed frame is hidden and waits for its deferred deletion; the
    // next request must open a new window rather than this one.
    QMdiSubWindow* frame = SubWindowOf(it->second);
    return frame && !frame->isHidden() ? it->second.data() : nullptr;
}

TfChsInfo* TfMainFrm::ChannelEditor() const
{
    return static_cast<TfChsInfo*>(Editor(Command::ChannelInformation));
}

bool TfMainFrm::ShowEditor(Command command)
{
    const EditorKind* kind = nullptr;
    for (const EditorKind& k : kEditors)
        if (k.command == command)
            kind = &k;
    if (!kind)
        return false;
    QWidget* editor = Editor(command);
    if (!editor) {
        editor = kind->create();
        editors_[command] = editor;
        QMdiSubWindow* sub = mdi->addSubWindow(editor);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        // The frame's Close takes the desktop's close keys, Ctrl+W among
        // them; here Ctrl+W is Write To Radio, and a key with two owners
        // would do nothing.
        for (QAction* a : sub->systemMenu()->actions())
            if (a->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_W))) {
                QList<QKeySequence> keys = a->shortcuts();
                keys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_W));
                a->setShortcuts(keys);
            }
        kind->fill(editor);
        if (auto* channels = qobject_cast<TfChsInfo*>(editor)) {
            channels->SetContextActions(SheetActions());
            connect(channels->gvChs, &QTableWidget::currentCellChanged, this, [this] { UpdateFillDownItem(true); });
            UpdateFillDownItem(true);
        }
        QSize size = kind->size(editor);
        // A window that lays itself out gets its whole preferred size inside
        // the frame's title bar and borders: at a larger font nothing in it
        // is squeezed.
        if (kind->size == HintedSize)
            size += sub->sizeHint() - editor->sizeHint();
        sub->resize(size);
        sub->move(20, 20);
    }
    QMdiSubWindow* sub = SubWindowOf(editor);
    sub->show();
    if (sub->isMinimized())
        sub->showNormal();
    mdi->setActiveSubWindow(sub);
    return true;
}

void TfMainFrm::ShowChannelEditor()
{
    ShowEditor(Command::ChannelInformation);
}

void TfMainFrm::CloseEditors()
{
    if (TfChsInfo* channels = ChannelEditor())
        delete SubWindowOf(channels); // destroyed at once, so a new one can open right away
    for (QMdiSubWindow* w : mdi->subWindowList())
        w->close();
}

void TfMainFrm::RefreshEditors()
{
    CloseEditors();
    ShowChannelEditor();
}
