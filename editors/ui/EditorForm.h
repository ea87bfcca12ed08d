// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the settings editor windows share: a child window of the main window
// with one "&Close" button, filled from the image when shown and writing
// every change back at once. The list and check-box controls are built from
// the window's rows of the settings field table; the generic fill and store
// below read the same rows, so a window only adds what is its own.
//
// Life cycle: the constructor builds the controls. FormShow() localises the
// window and fills it under the loading mark; it runs by itself on the first
// show, and callers that need a filled window earlier call it directly.
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "image/SettingFields.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QPushButton;

class TfEditorForm : public QWidget {
    Q_OBJECT
public:
    TfEditorForm(const char* name, const char* caption, QWidget* parent);

    void FormShow();
    // Fills the controls from the image again, as after an undo.
    void Refill();

    // The list or check box built for a field, by its control name.
    QComboBox* Combo(const char* control) const;
    QCheckBox* Check(const char* control) const;

    QPushButton* btnCancel = nullptr;
    bool Loading = false;

protected:
    struct FieldControl {
        const SettingField* field;
        QWidget* control; // QComboBox or QCheckBox
    };

    // Builds the label and control of every row of `window` that has a
    // control, into the grid that `gridOf` gives for the row's group.
    void BuildFields(const char* window, const std::function<QGridLayout*(const char* group)>& gridOf);
    // A grid of label/control rows inside `parent`, with the close button
    // row added below by AddCloseButton.
    static QGridLayout* NewGrid(QWidget* parent);
    void AddCloseButton(QLayout* layout);

    // Selects every list and sets every check box from the image. A stored
    // value past the end of its list selects nothing and shows its text.
    void FillFields();
    // Writes every control back, then sets Modified. Lists that select
    // nothing keep their stored value.
    void StoreFields();

    // The window's own fill, after LocaliseForm; the default fills the fields.
    virtual void Fill();
    // A control changed while not loading; the default stores the fields.
    virtual void Changed();
    // Runs Changed() as one change of the document, named after the field.
    void ControlChanged(const SettingField& field);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    std::vector<FieldControl> controls_;

private:
    QWidget* Control(const char* control) const;

    bool formShown_ = false;
};
