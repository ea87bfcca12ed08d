// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ui/WriteRadio.h"

TfWriteRadio::TfWriteRadio(QWidget* parent) : TfLinkDialog(kWriteJob, parent)
{
    setObjectName("fWriteRadio");
    setWindowTitle("Write data to radio");
}
