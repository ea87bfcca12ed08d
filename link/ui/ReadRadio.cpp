// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ui/ReadRadio.h"

TfReadRadio::TfReadRadio(QWidget* parent) : TfLinkDialog(kReadJob, kReadWindow, parent)
{
    setObjectName("fReadRadio");
    setWindowTitle("Read data From radio");
}
