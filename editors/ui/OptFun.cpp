// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/ui/OptFun.h"

#include <QGridLayout>
#include <QVBoxLayout>

TfOptFun::TfOptFun(QWidget* parent) : TfEditorForm("fOptFun", "Optional Function", parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* body = new QWidget(this);
    QGridLayout* grid = NewGrid(body);
    layout->addWidget(body);
    BuildFields("fOptFun", [grid](const char*) { return grid; });
    AddCloseButton(layout);
}
