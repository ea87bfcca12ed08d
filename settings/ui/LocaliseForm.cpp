// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ui/LocaliseForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

#include "base/IniFile.h"
#include "core/State.h"
#include "settings/Language.h"

void SetTag(QObject* component, int tag)
{
    component->setProperty(kTagProperty, tag);
}

void SetDesignName(QWidget* control, const QString& name)
{
    control->setAccessibleName(name);
    control->setProperty(kDesignNameProperty, true);
}

int TagOf(const QObject* component)
{
    QVariant tag = component->property(kTagProperty);
    return tag.isValid() ? tag.toInt() : 0;
}

namespace {

// Walks a window's components the way the language file relabels them.
// Text() is asked for every key with the component's current text; the
// relabelling answers from the file, the key listing records the key.
class Relabeller {
public:
    virtual ~Relabeller() = default;
    virtual QString Text(const QString& key, const QString& current) const = 0;
    QString Caption(const QString& name, const QString& current) const { return Text(name + ".Caption", current); }
    QString Hint(const QString& name, const QString& current) const { return Text(name + ".Hint", current); }
    QString Item(const QString& name, int number, const QString& current) const
    {
        return Text(name + "." + QString::number(number), current);
    }

    void Visit(QObject* component) const;

private:
    void Combo(QComboBox* combo, const QString& name) const;
    void ValueList(QTableWidget* table, const QString& name) const;
};

class FileRelabeller : public Relabeller {
public:
    FileRelabeller(const QString& section, const std::string& path) : section_(section.toStdString()), file_(path) {}
    QString Text(const QString& key, const QString& current) const override
    {
        return QString::fromStdString(file_.ReadString(section_, key.toStdString(), current.toStdString()));
    }

private:
    std::string section_;
    TIniFile file_;
};

class KeyCollector : public Relabeller {
public:
    QString Text(const QString& key, const QString& current) const override
    {
        if (!current.trimmed().isEmpty())
            texts.emplace_back(key, current);
        return current;
    }
    mutable std::vector<std::pair<QString, QString>> texts;
};

// The components of the window itself, in the order they were made. A
// window inside it (an editor in the main window's document area, a dialog
// opened over it) has a section of its own and is left out with everything
// it holds; so is a status bar, whose panels show the program's state.
void CollectOwnComponents(QObject* parent, QList<QObject*>& components)
{
    for (QObject* child : parent->children()) {
        if (qobject_cast<QDialog*>(child) || qobject_cast<QMdiSubWindow*>(child) || qobject_cast<QStatusBar*>(child))
            continue;
        components.append(child);
        CollectOwnComponents(child, components);
    }
}

QList<QObject*> OwnComponents(QWidget* form)
{
    QList<QObject*> components;
    CollectOwnComponents(form, components);
    return components;
}

QTabWidget* TabWidgetOfPage(QWidget* page)
{
    auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    return tabs && tabs->indexOf(page) >= 0 ? tabs : nullptr;
}

void Relabeller::Visit(QObject* component) const
{
    const QString name = component->objectName();
    if (name.isEmpty())
        return;
    if (auto* control = qobject_cast<QWidget*>(component); control && control->property(kDesignNameProperty).toBool())
        control->setAccessibleName(Text(name + ".Name", control->accessibleName()));
    if (auto* label = qobject_cast<QLabel*>(component)) {
        label->setText(Caption(name, label->text()));
    } else if (auto* menu = qobject_cast<QMenu*>(component)) {
        menu->setTitle(Caption(name, menu->title()));
        QAction* item = menu->menuAction();
        item->setStatusTip(Hint(name, item->statusTip()));
    } else if (auto* action = qobject_cast<QAction*>(component)) {
        // Menu items and tool-bar buttons alike: a caption and a hint.
        action->setText(Caption(name, action->text()));
        const QString hint = Hint(name, action->toolTip());
        action->setToolTip(hint);
        action->setStatusTip(hint);
    } else if (auto* button = qobject_cast<QAbstractButton*>(component)) {
        // Push, tool, check and radio buttons all carry one caption.
        button->setText(Caption(name, button->text()));
    } else if (auto* table = qobject_cast<QTableWidget*>(component)) {
        if (table->property(kNameValueListProperty).toBool())
            ValueList(table, name);
    } else if (auto* combo = qobject_cast<QComboBox*>(component)) {
        Combo(combo, name);
    } else if (auto* group = qobject_cast<QGroupBox*>(component)) {
        group->setTitle(Caption(name, group->title()));
    } else if (auto* list = qobject_cast<QListWidget*>(component)) {
        if (TagOf(list) != kTagNotTranslated)
            for (int i = 0; i < list->count(); ++i)
                list->item(i)->setText(Item(name, i, list->item(i)->text()));
    } else if (auto* page = qobject_cast<QWidget*>(component)) {
        if (QTabWidget* tabs = TabWidgetOfPage(page)) {
            int index = tabs->indexOf(page);
            tabs->setTabText(index, Caption(name, tabs->tabText(index)));
        }
    }
}

void Relabeller::Combo(QComboBox* combo, const QString& name) const
{
    const int tag = TagOf(combo);
    if (tag == kTagNotTranslated)
        return;
    const int selected = combo->currentIndex();
    const int count = tag == kTagFirstItemOnly ? std::min(1, combo->count()) : combo->count();
    const bool blocked = combo->blockSignals(true);
    for (int i = 0; i < count; ++i)
        combo->setItemText(i, Item(name, i, combo->itemText(i)));
    combo->setCurrentIndex(selected);
    combo->blockSignals(blocked);
}

void Relabeller::ValueList(QTableWidget* table, const QString& name) const
{
    for (int row = 0; row < table->rowCount(); ++row) {
        QTableWidgetItem* value = table->item(row, 1);
        if (!value) {
            value = new QTableWidgetItem;
            table->setItem(row, 1, value);
        }
        value->setText(Item(name, row + 1, value->text()));
    }
}

} // namespace

void LocaliseForm(QWidget* form, bool force)
{
    if (!force && ALL.LanguageId == 0)
        return;
    const QString section = form->objectName();
    FileRelabeller relabel(section, LanguageFilePath(ALL.LanguageName));
    form->setWindowTitle(relabel.Caption(section, form->windowTitle()));
    for (QObject* component : OwnComponents(form))
        relabel.Visit(component);
}

std::vector<std::pair<QString, QString>> LocalisableTexts(QWidget* form)
{
    KeyCollector collect;
    collect.Caption(form->objectName(), form->windowTitle());
    for (QObject* component : OwnComponents(form))
        collect.Visit(component);
    return collect.texts;
}

std::vector<QString> LocalisableKeys(QWidget* form)
{
    std::vector<QString> keys;
    for (auto& keyText : LocalisableTexts(form))
        keys.push_back(keyText.first);
    return keys;
}
