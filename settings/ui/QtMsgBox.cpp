#include "settings/ui/QtMsgBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "settings/MsgBox.h"

void InstallQtMsgBox()
{
    SetMsgBoxHandler([](const std::string& caption, const std::string& text, int kind) {
        QWidget* owner = QApplication::activeWindow();
        QString title = QString::fromStdString(caption);
        QString body = QString::fromStdString(text);
        if (kind == kMsgQuestion) {
            QMessageBox box(QMessageBox::Question, title, body, QMessageBox::Yes | QMessageBox::No, owner);
            box.setDefaultButton(QMessageBox::Yes);
            // Escape and the close button answer neither Yes nor No: they
            // click a Cancel button that is never shown. Without it the
            // box takes No for Escape, which on "save the changes?" would
            // throw the changes away.
            QPushButton* cancel = box.addButton(QMessageBox::Cancel);
            cancel->hide();
            box.setEscapeButton(cancel);
            box.exec();
            if (box.clickedButton() == box.button(QMessageBox::Yes))
                return static_cast<int>(kMsgYes);
            if (box.clickedButton() == box.button(QMessageBox::No))
                return static_cast<int>(kMsgNo);
            return static_cast<int>(kMsgCancel);
        }
        QMessageBox::information(owner, title, body);
        return static_cast<int>(kMsgOk);
    });
}
