// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The channel information window: one grid row per channel, one column per
// channel field. RX and TX frequencies are typed into the cells, tones and
// the per-channel options are picked from drop-down lists laid over the
// cells. Every committed change goes straight into ALL.Image through the
// channel codec and sets ALL.Modified; the window keeps no copy of the image.
//
// Life cycle: the constructor creates the controls only. FormShow() builds
// the grid and fills it from the image; it runs by itself on the first show
// of the window, and callers that need the filled window before it is shown
// (the main window before placing it, the tests) call it directly. Calling
// it again rebuilds and refills the window from the image.
#include <QString>
#include <QWidget>
#include <QList>
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "editors/ChannelClipboard.h"

class QAction;
class QByteArray;
class QComboBox;
class QKeyEvent;
class QLabel;
class QTableWidget;
class QTableWidgetItem;

// One entry of the column list: the key "V-A-K" (visibility S/N, alignment
// L/M/R, kind N number, R RX, T TX, S other, M the hidden last entry) and
// the value "width@title" ("|" in the title is a line break). The position
// in the list, from 1, is the field number of the column.
struct TColShowEntry {
    QString Key;
    QString Value;
};

class TfChsInfo : public QWidget {
    Q_OBJECT
public:
    explicit TfChsInfo(QWidget* parent = nullptr);

    void FormShow();
    // Stores a tone typed into the tone list, hides every combo and commits
    // an open in-place edit. The window runs it when it loses activation;
    // the main window runs it before every command.
    void FormDeactivate();

    // Window size for the current column list and channel count: the shown
    // widths + 30 by 15 + 25 per channel.
    QSize FormSize() const;

    // Refills one channel row (1 .. ALL.ChannelCount) or all of them from the image.
    void FillRow(int channel);
    void FillAllRows();

    // Grid handlers. Rows and columns are those of gvChs: row = channel - 1.
    void gvChsMouseDown(int row, int column);
    void gvChsSelectCell(int row, int column);
    // Filters a key typed into the grid or its in-place editor; true when
    // the key was consumed.
    bool gvChsKeyPress(QObject* target, QKeyEvent* event);
    // Commit of an in-place frequency edit.
    void gvChsSetForeText(int row, int column, const QString& text);

    // Combo handlers.
    void ComBoxSetData(QComboBox* combo);
    bool ComBoxKeyPress(QComboBox* combo, QKeyEvent* event);
    void ComBoxExit(QComboBox* combo);

    // Field number (position in ColShow) of a grid column, 0 for none.
    int ColumnField(int column) const;
    // Grid column showing a field number, -1 when it is not shown.
    int ColumnOfField(int field) const;
    // What a screen reader hears: the title of a column on one line, the
    // name of a row's channel ("Channel 3"), and a cell's channel, column
    // and value ("Channel 3, RX Frequency, 446.00625"), in the current language.
    QString ColumnTitle(int column) const;
    QString RowName(int row) const;
    QString CellName(int row, int column) const;
    // Cell value text (kept in Qt::UserRole next to the display text).
    QString CellValue(int row, int column) const;

    // Editing like a sheet (ChsInfoSheet.cpp). The selection is of whole
    // rows; with none, the current row counts as selected. Every operation
    // is one change of the document and keeps the current channel on its
    // channel.
    std::vector<int> SelectedChannels() const;
    // Selects the rows of the channels; the current cell goes to the row of
    // ALL.CurrentChannel, without counting as the user's choice.
    void SelectChannels(const std::vector<int>& channels);
    void CopyChannels();
    void PasteChannels();
    void ClearSelected();
    void MoveSelected(int step);
    void InsertChannel();
    void FillDownSelected();
    // The title of the column Fill Down fills, the current one; empty when
    // it is no channel field (the channel number) or there is none.
    QString FillDownColumnTitle() const;
    void SelectAllChannels();
    // Sorts the selected channels among themselves, all channels when one
    // or none is selected.
    void SortSelected();
    // The columns as shown, for the clipboard.
    std::vector<SheetColumn> SheetColumns() const;
    // The items of the grid's context menu; the main window hands over its
    // Edit menu items.
    void SetContextActions(const QList<QAction*>& actions);
    // The name of a change of one cell, as undo names it.
    std::function<std::string()> CellChangeName(int row, int column) const;
    // The title a column has in the shipped column list, before the
    // language file relabels it.
    static QString DesignTitle(int field);
    // English no-tone word; the language file may replace it, and the
    // window then compares with lNone's caption rather than with this text.
    static constexpr const char* kNoTone = "None";

    // The column list, a hidden list of names (the keys) and values; the
    // language file may replace its values before the grid is built.
    QTableWidget* ColShow = nullptr;
    TColShowEntry ColShowEntry(int index) const;

    QTableWidget* gvChs = nullptr;
    QComboBox* cxDcts = nullptr;
    QComboBox* cxPwrv = nullptr;
    QComboBox* cxBand = nullptr;
    QComboBox* cxScan = nullptr;
    QComboBox* cxBclo = nullptr;
    QComboBox* cxTail = nullptr;
    QComboBox* cxPtts = nullptr;
    QLabel* lNone = nullptr;

    bool Loading = false;
    int CurrentColumn = 0;
    int CurrentRow = 0;
    int ShownColumns = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Cell role of the value text.
    static constexpr int kValueRole = Qt::UserRole;

    // The key filter both the frequency editor and the tone list share:
    // typed characters other than digits, the point and `alsoAllowed` are
    // swallowed, a comma is delivered to `target` as a point, and control
    // keys pass. True when the key was taken.
    static bool FilterTypedKey(QObject* target, QKeyEvent* event, QStringView alsoAllowed);

    void BuildGrid();
    void CreateCombos();
    QComboBox* MakeCombo(int field, bool editable);
    // The combo serving a field number, nullptr when the field has none.
    QComboBox* ComboOfField(int field) const;
    // The combo that `watched` is or edits in, nullptr for anything else.
    QComboBox* ComboOf(const QObject* watched) const;
    // Hides the combos; with `store`, a tone typed into the tone list is
    // stored first. A combo holding the focus hands it to the grid before
    // it is hidden: a hidden focus widget would make Qt move the focus on
    // as Tab does, and the grid would move its current cell with it.
    void HideCombos(bool store = true);
    // Lays the combo of a cell over it and gives it the focus, so that it
    // takes the keys. Only an explicit act does this (a click, F4, Alt+Down,
    // Space, a typed character); moving over the grid never does. False
    // when the cell has no combo.
    bool PlaceCombo(int row, int column);
    // Opens the combo of the current cell for a key pressed in the grid;
    // true when the key was taken.
    bool OpenComboByKey(QKeyEvent* event);
    // Stores the text typed into the tone list when it differs from its cell.
    void StoreTypedTone();
    void TakeChannel(int row);
    void FrameStateChanged(Qt::WindowStates before, Qt::WindowStates now);
    QTableWidgetItem* Cell(int row, int column) const;
    int ChannelOfRow(int row) const;
    bool ChannelExists(int row) const;
    QChar ColumnKind(int column) const;

    // The clipboard's CHIRP CSV form, stored into the channels from
    // `firstChannel` on inside the paste's change: the message to show,
    // or nothing when the form is not read, and the text form is.
    std::optional<std::string> PasteChirpCsv(const QByteArray& csv, int firstChannel);
    // The clipboard holds channel rows rather than one value: CHIRP CSV,
    // cells separated by tabs, or more than one line.
    bool ClipboardHoldsRows() const;
    // Runs one operation on the selection as one change named by the sheet
    // text `nameKey`; the operation returns the channels to select after.
    void ChangeChannels(const char* nameKey, const std::function<std::vector<int>(std::vector<int>)>& operation);
    void ShowContextMenu(const QPoint& at);
    void ShowContextMenuAtCurrentCell();

    QList<QAction*> contextActions_;
    // The drop-down lists by field number; both tone fields share one.
    std::map<int, QComboBox*> combos_;
    // The hidden label of the shown combo: the column it edits, which a
    // screen reader on Linux reads as the combo's label.
    QLabel* comboTitle_ = nullptr;
    bool formShown_ = false;
    // The cell the shown combo edits; -1 while none is shown.
    int comboRow_ = -1;
    int comboColumn_ = -1;
    int shownWidth_ = 0;
    // The grid font's line height the sizes were last scaled for.
    int lineHeight_ = 0;
};
