// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The VOX window: VOX on or off, gain, delay and receive inhibit, all in one
// byte. The lists are usable only while VOX is ticked; clearing the tick
// keeps their values.
#include "editors/ui/EditorForm.h"

class TfVoxFun : public TfEditorForm {
    Q_OBJECT
public:
    explicit TfVoxFun(QWidget* parent = nullptr);

protected:
    void Fill() override;

private:
    void EnableLists();
};
