#pragma once
// The Model Information dialog: pick a model and one of its bands.
#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

class TfModel : public QDialog {
    Q_OBJECT
public:
    explicit TfModel(QWidget* parent = nullptr);

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
