// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Model Information dialog: pick a model and one of its bands.
#include <QDialog>
#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QPushButton;

// A model name and one of its band texts, as the catalogue spells them.
struct ModelChoice {
    std::string model;
    std::string band;
};

class TfModel : public QDialog {
    Q_OBJECT
public:
    explicit TfModel(QWidget* parent = nullptr);

    // Runs the dialog; the model and band picked when the user pressed Ok.
    static std::optional<ModelChoice> Choose(QWidget* parent);
    // The model and band the lists show now.
    ModelChoice Choice() const;

    // Fills the lists and selects the current model and band.
    void FormShow();
    // Lists the bands of the model now shown and selects its default band.
    void cbCopmutChange();

    QLabel* Label1 = nullptr;
    QComboBox* cbCopmut = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cbPd = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
};
