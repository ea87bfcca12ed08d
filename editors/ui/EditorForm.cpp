// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/ui/EditorForm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <cstring>

#include "core/State.h"
#include "document/DocumentChange.h"
#include "editors/SheetTexts.h"
#include "settings/ui/LocaliseForm.h"

TfEditorForm::TfEditorForm(const char* name, const char* caption, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);
    setWindowTitle(caption);
}

QGridLayout* TfEditorForm::NewGrid(QWidget* parent)
{
    auto* grid = new QGridLayout(parent);
    grid->setColumnStretch(1, 1);
    return grid;
}

void TfEditorForm::AddCloseButton(QLayout* layout)
{
    btnCancel = new QPushButton("&Close", this);
    btnCancel->setObjectName("btnCancel");
    layout->addWidget(btnCancel);
    layout->setAlignment(btnCancel, Qt::AlignRight);
    connect(btnCancel, &QPushButton::clicked, this, [this] {
        // Inside the main window the frame is what closes; it asks this
        // window first.
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
            frame->close();
        else
            close();
    });
}

void TfEditorForm::BuildFields(const char* window, const std::function<QGridLayout*(const char* group)>& gridOf)
{
    for (const SettingField* f : SettingFieldsOf(window)) {
        if (*f->control == '\0') {
            controls_.push_back({f, nullptr});
            continue;
        }
        QGridLayout* grid = gridOf(f->group);
        const int row = grid->rowCount();
        if (IsCheckBox(*f)) {
            auto* box = new QCheckBox(f->caption, this);
            box->setObjectName(f->control);
            grid->addWidget(box, row, 0, 1, 2);
            connect(box, &QCheckBox::toggled, this, [this, f] { ControlChanged(*f); });
            controls_.push_back({f, box});
            continue;
        }
        auto* label = new QLabel(f->caption, this);
        label->setObjectName(f->label);
        auto* combo = new QComboBox(this);
        combo->setObjectName(f->control);
        if (f->tag != 0)
            SetTag(combo, f->tag);
        if (f->mapping != FieldMapping::KeyShort && f->mapping != FieldMapping::KeyLong)
            for (const std::string& item : ItemTexts(*f))
                combo->addItem(QString::fromStdString(item));
        label->setBuddy(combo);
        grid->addWidget(label, row, 0);
        grid->addWidget(combo, row, 1);
        connect(combo, &QComboBox::currentIndexChanged, this, [this, f] { ControlChanged(*f); });
        controls_.push_back({f, combo});
    }
}

QWidget* TfEditorForm::Control(const char* control) const
{
    for (const FieldControl& c : controls_)
        if (std::strcmp(c.field->control, control) == 0)
            return c.control;
    return nullptr;
}

QComboBox* TfEditorForm::Combo(const char* control) const
{
    return qobject_cast<QComboBox*>(Control(control));
}

QCheckBox* TfEditorForm::Check(const char* control) const
{
    return qobject_cast<QCheckBox*>(Control(control));
}

void TfEditorForm::FormShow()
{
    formShown_ = true;
    Loading = true;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->move(20, 20);
    LocaliseForm(this, false);
    Fill();
    Loading = false;
}

void TfEditorForm::Refill()
{
    Loading = true;
    Fill();
    Loading = false;
}

void TfEditorForm::ControlChanged(const SettingField& field)
{
    if (Loading)
        return;
    // A check box is its own caption; a drop-down has a label.
    const SettingField* f = &field;
    TDocumentChange change(
        [f] { return FieldChangeName(f->window, IsCheckBox(*f) ? f->control : f->label, f->caption, f->group); });
    Changed();
}

void TfEditorForm::Fill()
{
    FillFields();
}

void TfEditorForm::Changed()
{
    StoreFields();
}

void TfEditorForm::FillFields()
{
    for (const FieldControl& c : controls_) {
        if (auto* box = qobject_cast<QCheckBox*>(c.control)) {
            box->setChecked(FieldItem(*c.field) != 0);
        } else if (auto* combo = qobject_cast<QComboBox*>(c.control)) {
            if (c.field->mapping == FieldMapping::KeyShort || c.field->mapping == FieldMapping::KeyLong)
                continue;
            const int item = FieldItem(*c.field);
            if (item >= 0 && item < combo->count()) {
                combo->setCurrentIndex(item);
            } else {
                // One past the list (a scan speed of 9): shown, not chosen,
                // so the stored value stays until the user picks an item.
                combo->setCurrentIndex(-1);
                combo->setPlaceholderText(QString::fromStdString(ItemText(*c.field, item)));
            }
        }
    }
}

void TfEditorForm::StoreFields()
{
    for (const FieldControl& c : controls_) {
        if (!c.control) {
            StoreFieldItem(*c.field, 0); // fields the window sets whatever it shows
        } else if (auto* box = qobject_cast<QCheckBox*>(c.control)) {
            StoreFieldItem(*c.field, box->isChecked() ? 1 : 0);
        } else if (auto* combo = qobject_cast<QComboBox*>(c.control)) {
            if (c.field->mapping == FieldMapping::KeyShort || c.field->mapping == FieldMapping::KeyLong)
                continue;
            if (combo->currentIndex() >= 0)
                StoreFieldItem(*c.field, combo->currentIndex());
        }
    }
    ALL.Modified = true;
}

void TfEditorForm::showEvent(QShowEvent* event)
{
    if (!formShown_)
        FormShow();
    QWidget::showEvent(event);
}

void TfEditorForm::closeEvent(QCloseEvent* event)
{
    // A closed editor is destroyed, and the next request opens a new one.
    setAttribute(Qt::WA_DeleteOnClose);
    event->accept();
}
