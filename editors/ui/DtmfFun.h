// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The DTMF window: on its Encode page the codes sent at the begin and end
// of a transmission and the tone timing, on its Decode page the stun code,
// group code, ID code and decoding behaviour. Lists and check boxes come
// from the settings field table, the four digit edits from the table of
// DTMF digit strings.
#include "editors/ui/EditorForm.h"

class QLineEdit;
class QTabWidget;
struct DtmfStringField;

class TfDtmfFun : public TfEditorForm {
    Q_OBJECT
public:
    explicit TfDtmfFun(QWidget* parent = nullptr);

    QTabWidget* cxDtmfInfo = nullptr;
    QLineEdit* Edit(const char* control) const;

    // cxEntPropertiesEditValueChanged: stores one digit edit.
    void StoreDigits(const DtmfStringField& field, QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void Fill() override;

private:
    struct DigitEdit {
        const DtmfStringField* field;
        QLineEdit* edit;
    };
    std::vector<DigitEdit> digitEdits_;
};
