#include "settings/ui/QtMsgBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "link/DoctorTexts.h"

#include "settings/MsgBox.h"

void InstallQtMsgBox()
{
    SetMsgBoxHandler([](const std::string& caption, const std::string& text, int kind) {
        QWidget* owner = QApplication::activeWindow();
        QString title = QString::fromStdString(caption);
        QString body = QString::fromStdString(text);
        if (kind == kMsgQuestion) {
            auto answer = QMessageBox::question(owner, title, body, QMessageBox::Yes | QMessageBox::No,
                                                QMessageBox::Yes);
            return answer == QMessageBox::Yes ? static_cast<int>(kMsgYes) : static_cast<int>(kMsgNo);
        }
        if (kind == kMsgConnection) {
            QMessageBox box(QMessageBox::Information, title, body, QMessageBox::Ok, owner);
            QPushButton* check =
                box.addButton(QString::fromStdString(DoctorText("CheckConnection")), QMessageBox::ActionRole);
            box.exec();
            return box.clickedButton() == check ? static_cast<int>(kMsgCheckConnection) : static_cast<int>(kMsgOk);
        }
        QMessageBox::information(owner, title, body);
        return static_cast<int>(kMsgOk);
    });
}
