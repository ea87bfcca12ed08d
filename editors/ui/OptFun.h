// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The optional function window: squelch, time-out, voice, tones, alarm, FM
// radio, low-battery inhibit, battery save and super save.
#include "editors/ui/EditorForm.h"

class TfOptFun : public TfEditorForm {
    Q_OBJECT
public:
    explicit TfOptFun(QWidget* parent = nullptr);
};
