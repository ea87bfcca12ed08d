// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// MsgBox on real message boxes: information with OK, question with Yes/No.
#include <QMessageBox>
#include <memory>
#include <string>

void InstallQtMsgBox();

// The box MsgBox shows for `kind`, made but not shown. A question's Escape
// and close button click a Cancel button that is never shown.
std::unique_ptr<QMessageBox> MakeQtMsgBox(QWidget* owner, const std::string& caption, const std::string& text,
                                          int kind);
