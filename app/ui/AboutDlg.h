// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About window: the application icon, the family name as caption and
// nine lines that only the language file fills in.
#include <QDialog>

class QLabel;

class TfFrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfFrmAbout(QWidget* parent = nullptr);

    void FormShow();

    QLabel* Image1 = nullptr;
    QLabel* lStr[9] = {}; // lStr1 to lStr9

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The bottom edge the window's height follows: the last label among
    // lStr6 to lStr9 with text in it, or lStr5.
    int LastLineBottom() const;
};
