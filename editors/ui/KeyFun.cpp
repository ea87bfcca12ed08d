// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/ui/KeyFun.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "core/State.h"

namespace {
// A model whose KeyLayout is 1 has only the first side key.
constexpr int kOneKeyLayout = 1;

bool IsShort(const SettingField& f)
{
    return f.mapping == FieldMapping::KeyShort;
}

QListWidget* HiddenList(QWidget* parent, const char* name, const std::vector<std::string>& entries)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    for (const std::string& e : entries)
        list->addItem(QString::fromStdString(e));
    list->hide();
    return list;
}
}

TfKeyFun::TfKeyFun(QWidget* parent) : TfEditorForm("fKeyFun", "Key Function", parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* Lkey1 = new QLabel("Key Function", this);
    Lkey1->setObjectName("Lkey1");
    layout->addWidget(Lkey1);

    const SettingGroup* group1 = FindSettingGroup("fKeyFun", "gKey1");
    const SettingGroup* group2 = FindSettingGroup("fKeyFun", "gKey2");
    auto* L1 = new QLabel(group1->caption, this);
    L1->setObjectName(group1->label);
    auto* key1 = new QWidget(this);
    L2 = new QLabel(group2->caption, this);
    L2->setObjectName(group2->label);
    auto* key2 = new QWidget(this);
    QGridLayout* grid1 = NewGrid(key1);
    QGridLayout* grid2 = NewGrid(key2);
    layout->addWidget(L1);
    layout->addWidget(key1);
    layout->addWidget(L2);
    layout->addWidget(key2);
    BuildFields("fKeyFun", [grid1, grid2](const char* group) { return std::string(group) == "gKey2" ? grid2 : grid1; });

    List_Short = HiddenList(this, "List_Short", DefaultKeyEntries(true));
    List_Long = HiddenList(this, "List_Long", DefaultKeyEntries(false));
    AddCloseButton(layout);
}

std::vector<std::string> TfKeyFun::Entries(const SettingField& field) const
{
    const QListWidget* list = IsShort(field) ? List_Short : List_Long;
    std::vector<std::string> entries;
    for (int i = 0; i < list->count(); ++i)
        entries.push_back(list->item(i)->text().toStdString());
    return entries;
}

bool TfKeyFun::SecondKeyShown() const
{
    return ALL.KeyLayout != kOneKeyLayout;
}

void TfKeyFun::Fill()
{
    for (const FieldControl& c : controls_) {
        auto* combo = static_cast<QComboBox*>(c.control);
        combo->clear();
        for (const std::string& item : KeyItems(Entries(*c.field)))
            combo->addItem(QString::fromStdString(item));
    }
    if (!SecondKeyShown()) {
        Combo("cxKeyS2")->hide();
        Combo("cxKeyL2")->hide();
        L2->hide();
        for (const FieldControl& c : controls_)
            static_cast<QComboBox*>(c.control)->setCurrentIndex(-1); // nothing selected
        return;
    }
    for (const FieldControl& c : controls_) {
        auto* combo = static_cast<QComboBox*>(c.control);
        const std::string text = KeyTextOfCode(Entries(*c.field), FieldItem(*c.field), IsShort(*c.field));
        const int index = combo->findText(QString::fromStdString(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
        combo->setCurrentIndex(index >= 0 ? index : 0);
    }
}

void TfKeyFun::Changed()
{
    if (SecondKeyShown()) {
        for (const FieldControl& c : controls_) {
            auto* combo = static_cast<QComboBox*>(c.control);
            StoreFieldItem(*c.field, KeyCodeOfText(Entries(*c.field), combo->currentText().toStdString()));
        }
    }
    ALL.Modified = true;
}
