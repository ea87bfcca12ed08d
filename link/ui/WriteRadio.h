// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The write window: writes the document into a radio, and stays open so the
// same document can go into the next radio.
#include "link/ui/LinkDialog.h"

class TfWriteRadio : public TfLinkDialog {
    Q_OBJECT
public:
    explicit TfWriteRadio(QWidget* parent = nullptr);
};
