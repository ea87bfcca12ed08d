// The editor windows inside the main window: at most one of each kind.
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/ui/MainFrm.h"
#include "editors/ui/ChsInfo.h"
#include "editors/ui/DtmfFun.h"
#include "editors/ui/InfoMsg.h"
#include "editors/ui/KeyFun.h"
#include "editors/ui/OptFun.h"
#include "editors/ui/ScanFun.h"
#include "editors/ui/VoxFun.h"

namespace {

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

} // namespace

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
