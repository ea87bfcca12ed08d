// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Relabels a window from the current language file. Every window calls it
// from its show handler before it fills its controls.
//
// Components are found by their object names, which are the names used as
// keys in the window's section of the language file. Two dynamic properties
// carry what the widget classes do not say themselves:
//   "Tag"           the drop-down's or list box's tag (-2: leave the items
//                   alone, -3: translate only item 0); see SetTag.
//   "NameValueList" on a QTableWidget: a list of names and values whose
//                   value column is translated row by row. Its header is the
//                   title row, so table row r is row r + 1 of the file's keys.
// Any other table is a data grid and is left alone.
#include <QString>
#include <utility>
#include <vector>

class QObject;
class QWidget;

inline constexpr char kTagProperty[] = "Tag";
inline constexpr char kNameValueListProperty[] = "NameValueList";
inline constexpr char kDesignNameProperty[] = "DesignName";
inline constexpr int kTagNotTranslated = -2;
inline constexpr int kTagFirstItemOnly = -3;

void SetTag(QObject* component, int tag);
// Gives a control that has no label of its own the name a screen reader
// reads for it; the language file relabels it as "<object name>.Name".
void SetDesignName(QWidget* control, const QString& name);
int TagOf(const QObject* component); // 0 when none was set

// With force off nothing happens while the design language (index 0) is
// current; the About window and a change of language pass force on.
void LocaliseForm(QWidget* form, bool force);

// The keys of the window's section that LocaliseForm would read for the
// texts the window shows now (components with an empty text are left out),
// in the order it reads them. For checking that a language file is complete.
std::vector<QString> LocalisableKeys(QWidget* form);
// The same keys, each with the text the window shows for it now.
std::vector<std::pair<QString, QString>> LocalisableTexts(QWidget* form);
