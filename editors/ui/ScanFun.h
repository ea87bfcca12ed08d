// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The scan window: scan speed and dropout delay. Scan mode and priority
// channel are offered but kept nowhere: they open with "SO" and "Off".
#include "editors/ui/EditorForm.h"

class TfScanFun : public TfEditorForm {
    Q_OBJECT
public:
    explicit TfScanFun(QWidget* parent = nullptr);
};
