// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ui/QtMsgBox.h"

#include <QApplication>
#include <QPushButton>

#include "link/DoctorTexts.h"

#include "settings/MsgBox.h"

std::unique_ptr<QMessageBox> MakeQtMsgBox(QWidget* owner, const std::string& caption, const std::string& text, int kind)
{
    const QString title = QString::fromStdString(caption);
    const QString body = QString::fromStdString(text);
    if (kind == kMsgConnection) {
        // A failed link: besides OK, the way to the connection doctor.
        auto box = std::make_unique<QMessageBox>(QMessageBox::Information, title, body, QMessageBox::Ok, owner);
        box->addButton(QString::fromStdString(DoctorText("CheckConnection")), QMessageBox::ActionRole);
        return box;
    }
    if (kind != kMsgQuestion)
        return std::make_unique<QMessageBox>(QMessageBox::Information, title, body, QMessageBox::Ok, owner);
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, title, body, QMessageBox::Yes | QMessageBox::No,
                                             owner);
    box->setDefaultButton(QMessageBox::Yes);
    // Escape and the close button answer neither Yes nor No: without this
    // button the box takes No for Escape, which on "save the changes?"
    // would throw the changes away.
    QPushButton* cancel = box->addButton(QMessageBox::Cancel);
    cancel->hide();
    box->setEscapeButton(cancel);
    return box;
}

void InstallQtMsgBox()
{
    SetMsgBoxHandler([](const std::string& caption, const std::string& text, int kind) {
        std::unique_ptr<QMessageBox> box = MakeQtMsgBox(QApplication::activeWindow(), caption, text, kind);
        box->exec();
        QAbstractButton* clicked = box->clickedButton();
        if (kind == kMsgConnection)
            return clicked && box->buttonRole(clicked) == QMessageBox::ActionRole
                       ? static_cast<int>(kMsgCheckConnection)
                       : static_cast<int>(kMsgOk);
        if (kind != kMsgQuestion)
            return static_cast<int>(kMsgOk);
        if (clicked == box->button(QMessageBox::Yes))
            return static_cast<int>(kMsgYes);
        if (clicked == box->button(QMessageBox::No))
            return static_cast<int>(kMsgNo);
        return static_cast<int>(kMsgCancel);
    });
}
