// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The read window: reads the radio's memory into the document, then closes.
#include "link/ui/LinkDialog.h"

class TfReadRadio : public TfLinkDialog {
    Q_OBJECT
public:
    explicit TfReadRadio(QWidget* parent = nullptr);
    // Read by the main window after the window closed.
    bool ReadSucceeded() { return Link().ReadSucceeded(); }
};
