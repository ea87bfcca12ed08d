// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The radio information window: model, band, serial number, write and
// factory times and the sales area, all read-only. It writes nothing.
#include "editors/ui/EditorForm.h"

class QLineEdit;

class TfInfoMsg : public TfEditorForm {
    Q_OBJECT
public:
    explicit TfInfoMsg(QWidget* parent = nullptr);

    QLineEdit* Edit(const char* control) const;

protected:
    void Fill() override;

private:
    // One read-only edit per row of the window's row table, in its order.
    std::vector<QLineEdit*> edits_;
};
