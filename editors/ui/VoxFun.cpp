#include "editors/ui/VoxFun.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

TfVoxFun* fVoxFun = nullptr;

TfVoxFun::TfVoxFun(QWidget* parent) : TfEditorForm("fVoxFun", "Vox Function", parent)
{
    fVoxFun = this;
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

TfVoxFun::~TfVoxFun()
{
    Forget();
}

void TfVoxFun::Fill()
{
    FillFields();
    EnableLists();
}

void TfVoxFun::EnableLists()
{
    const bool on = Check("cxVoxS")->isChecked();
    for (QComboBox* list : findChildren<QComboBox*>())
        list->setEnabled(on);
}

void TfVoxFun::Forget()
{
    if (fVoxFun == this)
        fVoxFun = nullptr;
}
