// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/ui/ScanFun.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

TfScanFun::TfScanFun(QWidget* parent) : TfEditorForm("fScanFun", "Scan Information", parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* L0 = new QLabel("Scan Information", this);
    L0->setObjectName("L0");
    layout->addWidget(L0);
    auto* body = new QWidget(this);
    QGridLayout* grid = NewGrid(body);
    layout->addWidget(body);
    BuildFields("fScanFun", [grid](const char*) { return grid; });
    AddCloseButton(layout);
}
