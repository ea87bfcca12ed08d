// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The port dialog: one radio button per port COM1 to COM20, enabled for the
// ports this machine has, with the device behind each as its tooltip. USB
// cables often get higher numbers; the ports above the buttons are offered
// in a list beside one more button.
#include <QDialog>
#include <array>

#include "link/PortNames.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

class TfSetPort : public QDialog {
    Q_OBJECT
public:
    explicit TfSetPort(QWidget* parent = nullptr);

    void FormShow();
    // The selected button (or the port chosen in the list of higher ports)
    // becomes the current port; none selected keeps it.
    void btnOKClick();

    QGroupBox* cxPort = nullptr;
    std::array<QRadioButton*, kPortButtons> cxPorts{}; // cxPort1 .. cxPort20
    QRadioButton* cxPortMore = nullptr;                // selects the port of cbMorePorts
    QComboBox* cbMorePorts = nullptr;                  // the available ports above COM20
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
    QLabel* lbName = nullptr; // the translated word for "Port"
    QComboBox* cbCom = nullptr;
};
