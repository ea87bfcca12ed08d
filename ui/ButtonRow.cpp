// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ButtonRow.h"

#include <QHBoxLayout>

QHBoxLayout* ButtonRow(std::initializer_list<QWidget*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QWidget* button : buttons)
        row->addWidget(button);
    return row;
}
