// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/AboutDlg.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <algorithm>

#include "app/ui/Artwork.h"
#include "core/State.h"
#include "settings/ui/LocaliseForm.h"

namespace {
constexpr int kWidth = 420;
constexpr int kTextLeft = 96;
constexpr int kFirstTop = 16;
constexpr int kLineStep = 22;
constexpr int kLineHeight = 18;
constexpr int kBottomMargin = 55;
}

TfFrmAbout::TfFrmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName("fFrmAbout");
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(16, 16, 64, 64);
    for (int i = 0; i < 9; ++i) {
        lStr[i] = new QLabel(QString::number(i + 1), this);
        lStr[i]->setObjectName(QString("lStr%1").arg(i + 1));
        lStr[i]->setGeometry(kTextLeft, kFirstTop + i * kLineStep, kWidth - kTextLeft - 12, kLineHeight);
        lStr[i]->installEventFilter(this);
    }
    Image1->installEventFilter(this);
    FormShow();
}

void TfFrmAbout::FormShow()
{
    Image1->setPixmap(qApp->windowIcon().pixmap(64, 64));
    LocaliseForm(this, true);
    // The version line of the language file says where the version goes.
    lStr[1]->setText(lStr[1]->text().replace("%1", QV300_VERSION));
    setWindowTitle(QString::fromStdString(ALL.FamilyName));
    // Lines are as long as their texts; the window grows to the longest.
    int right = kWidth - 12;
    for (QLabel* line : lStr) {
        line->resize(std::max(line->width(), line->sizeHint().width()), kLineHeight);
        right = std::max(right, line->geometry().right() + 1);
    }
    setFixedWidth(right + 12);
    setFixedHeight(LastLineBottom() + kBottomMargin);
}

int TfFrmAbout::LastLineBottom() const
{
    for (int i = 8; i >= 5; --i)
        if (!lStr[i]->text().trimmed().isEmpty())
            return lStr[i]->geometry().bottom() + 1;
    return lStr[4]->geometry().bottom() + 1;
}

void TfFrmAbout::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    accept();
}

bool TfFrmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
