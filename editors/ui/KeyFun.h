// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key function window: what the short and the long press of the two
// side keys do. The codes are positions in two hidden lists that also carry
// the texts (and so are translated with the window); a drop-down shows the
// texts and a choice is stored as the position of its text.
#include "editors/ui/EditorForm.h"

class QLabel;
class QListWidget;

class TfKeyFun : public TfEditorForm {
    Q_OBJECT
public:
    explicit TfKeyFun(QWidget* parent = nullptr);

    QListWidget* List_Short = nullptr;
    QListWidget* List_Long = nullptr;

protected:
    void Fill() override;
    void Changed() override;

private:
    std::vector<std::string> Entries(const SettingField& field) const;
    bool SecondKeyShown() const;
    QLabel* L2 = nullptr;
};
