// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/ui/VoxFun.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

TfVoxFun::TfVoxFun(QWidget* parent) : TfEditorForm("fVoxFun", "Vox Function", parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* LVoxF = new QLabel("Vox Function", this);
    LVoxF->setObjectName("LVoxF");
    layout->addWidget(LVoxF);
    auto* body = new QWidget(this);
    QGridLayout* grid = NewGrid(body);
    layout->addWidget(body);
    BuildFields("fVoxFun", [grid](const char*) { return grid; });
    AddCloseButton(layout);
    // Connected after the generic store, so the lists follow the tick
    // whether or not the window is loading.
    connect(Check("cxVoxS"), &QCheckBox::toggled, this, &TfVoxFun::EnableLists);
}

void TfVoxFun::Fill()
{
    FillFields();
    EnableLists();
}

void TfVoxFun::EnableLists()
{
    const bool on = Check("cxVoxS")->isChecked();
    for (const FieldControl& c : controls_)
        if (auto* list = qobject_cast<QComboBox*>(c.control))
            list->setEnabled(on);
}
