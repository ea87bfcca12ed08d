// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/ui/DtmfFun.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cstring>

#include "core/State.h"
#include "document/DocumentChange.h"
#include "editors/SheetTexts.h"
#include "image/DtmfDigits.h"
#include "settings/ui/LocaliseForm.h"

namespace {
struct GroupPlace {
    const char* name;
    const char* title;
    int page;
};
// Encode page: PTT ID and Encode; Decode page: Stun and Decode.
constexpr GroupPlace kGroups[] = {
    {"cgPtts", "PTT ID", 0},
    {"cgEnCode", "Encode", 0},
    {"cgStun", "Stun", 1},
    {"cgDeCode", "Decode", 1},
};
}

TfDtmfFun::TfDtmfFun(QWidget* parent) : TfEditorForm("fDtmfFun", "DTMF Function", parent)
{
    auto* layout = new QVBoxLayout(this);
    cxDtmfInfo = new QTabWidget(this);
    cxDtmfInfo->setObjectName("cxDtmfInfo");
    SetDesignName(cxDtmfInfo, "DTMF Function");
    layout->addWidget(cxDtmfInfo);
    QWidget* pages[2];
    const char* pageNames[2][2] = {{"cxEnCode", "Encode"}, {"cxDecode", "Decode"}};
    for (int i = 0; i < 2; ++i) {
        pages[i] = new QWidget;
        pages[i]->setObjectName(pageNames[i][0]);
        new QVBoxLayout(pages[i]);
        cxDtmfInfo->addTab(pages[i], pageNames[i][1]);
    }
    QMap<QString, QGridLayout*> grids;
    for (const GroupPlace& g : kGroups) {
        auto* box = new QGroupBox(g.title, pages[g.page]);
        box->setObjectName(g.name);
        pages[g.page]->layout()->addWidget(box);
        grids.insert(g.name, NewGrid(box));
    }

    for (const DtmfStringField& f : DtmfStringFields()) {
        QGridLayout* grid = grids.value(f.group);
        const int row = grid->rowCount();
        auto* label = new QLabel(f.caption, this);
        label->setObjectName(f.label);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(f.control);
        SetTag(edit, f.tag);
        edit->setMaxLength(f.positions);
        // Typed keys are filtered below; the validator keeps pasted text to
        // the same characters.
        const QString pattern = f.digitsOnly ? "[0-9]*" : "[0-9A-Da-d*#]*";
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
        edit->installEventFilter(this);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        const DtmfStringField* field = &f;
        connect(edit, &QLineEdit::textChanged, this, [this, field, edit] {
            if (!Loading)
                StoreDigits(*field, edit);
        });
        connect(edit, &QLineEdit::returnPressed, this, [this, field, edit] {
            if (!Loading)
                StoreDigits(*field, edit);
        });
        digitEdits_.push_back({field, edit});
    }
    BuildFields("fDtmfFun", [&grids](const char* group) { return grids.value(group); });
    for (QWidget* page : pages)
        static_cast<QVBoxLayout*>(page->layout())->addStretch();
    AddCloseButton(layout);
}

QLineEdit* TfDtmfFun::Edit(const char* control) const
{
    for (const DigitEdit& d : digitEdits_)
        if (std::strcmp(d.field->control, control) == 0)
            return d.edit;
    return nullptr;
}

void TfDtmfFun::Fill()
{
    FillFields();
    // The PTT-ID mode is always BOTH here, so both code edits are usable.
    for (const DigitEdit& d : digitEdits_) {
        d.edit->setEnabled(true);
        d.edit->setText(QString::fromStdString(DtmfStringText(*d.field)));
    }
}

void TfDtmfFun::StoreDigits(const DtmfStringField& field, QLineEdit* edit)
{
    // Each character typed joins the change before it: one undo takes the
    // whole code back.
    const DtmfStringField* f = &field;
    TDocumentChange change([f] { return FieldChangeName("fDtmfFun", f->label, f->caption, f->group); }, true);
    // The mark keeps the upper-casing below from storing a second time.
    Loading = true;
    const QString upper = edit->text().toUpper();
    if (upper != edit->text()) {
        const int cursor = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(cursor);
    }
    StoreDtmfString(field, upper.toStdString());
    // Every change in this window also sets the PTT-ID mode to BOTH.
    for (const FieldControl& c : controls_)
        if (c.field->mapping == FieldMapping::Always3)
            StoreFieldItem(*c.field, 3);
    ALL.Modified = true;
    Loading = false;
}

bool TfDtmfFun::eventFilter(QObject* watched, QEvent* event)
{
    const bool press = event->type() == QEvent::KeyPress;
    if (!press && event->type() != QEvent::ShortcutOverride)
        return TfEditorForm::eventFilter(watched, event);
    for (const DigitEdit& d : digitEdits_) {
        if (watched != d.edit)
            continue;
        auto* key = static_cast<QKeyEvent*>(event);
        // Undo and redo belong to the document, not to the line edit's own
        // history: left unclaimed here, the main window's items take them.
        const bool control = key->modifiers() & Qt::ControlModifier;
        if (!press)
            return control && (key->key() == Qt::Key_Z || key->key() == Qt::Key_Y);
        const QString text = key->text();
        // Moving, deleting and selecting edit as in any line edit; only a
        // typed character is checked against what the radio can send.
        if (control || text.size() != 1 || text.at(0).unicode() < 0x20)
            return false;
        const char c = text.at(0).toLatin1();
        if (!DtmfKeyAccepted(*d.field, c))
            return true;
        if (c >= 'a' && c <= 'd') {
            d.edit->insert(text.toUpper());
            return true;
        }
        return false;
    }
    return TfEditorForm::eventFilter(watched, event);
}
