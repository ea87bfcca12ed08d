// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The row of buttons at the foot of the program's dialogs, right-aligned.
#include <initializer_list>

class QHBoxLayout;
class QWidget;

QHBoxLayout* ButtonRow(std::initializer_list<QWidget*> buttons);
