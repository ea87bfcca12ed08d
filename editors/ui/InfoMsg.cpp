// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/ui/InfoMsg.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

#include "core/ImageLayout.h"
#include "core/State.h"
#include "editors/AreaTable.h"
#include "image/Stamp.h"

namespace {
struct InfoRow {
    const char* control;
    const char* label;
    const char* caption;
    bool upperCase;
    std::string (*text)();
};

const InfoRow kRows[] = {
    {"cxModel", "lModel", "&Model Type", false, [] { return ALL.ModelName; }},
    {"cxFreq", "lFreq", "&Frequency[MHz]", false, [] { return ALL.BandText; }},
    {"cxSerial", "lSerial", "&Serial Number", true, [] { return SerialNumberText(ALL.Image.data() + kSerialNumber); }},
    {"cxRadioTime", "lRadioTime", "&Write Time", false, [] { return FormatStamp(ALL.Image.data() + kWriteStamp); }},
    {"cxLeaveTime", "lLeaveTime", "&Leave Factory Time", false,
     [] { return FormatStamp(ALL.Image.data() + kFactoryStamp); }},
    // Any language other than the design one shows the Chinese names.
    {"cxArea", "lArea", "&Area", true, [] { return LookupArea(ALL.AreaCode, ALL.LanguageId > 0); }},
};

// Width of the longest area text the window can show in the current
// language ("GOLIA - XI LIN GUO LE MENG"), so that none is clipped.
int LongestAreaWidth(const QLineEdit* edit)
{
    const bool chinese = ALL.LanguageId > 0;
    int widest = edit->fontMetrics().horizontalAdvance(QString::fromStdString(LookupArea("9999", chinese)));
    for (int row = 0; row < kAreaRows; ++row) {
        const QString text = QString::fromStdString(LookupArea(AreaTableRow(row).Code, chinese)).toUpper();
        widest = std::max(widest, edit->fontMetrics().horizontalAdvance(text));
    }
    // The frame and the line edit's own margins on both sides.
    return widest + 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8;
}
}

TfInfoMsg::TfInfoMsg(QWidget* parent) : TfEditorForm("fInfoMsg", "Radio Information", parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* body = new QWidget(this);
    QGridLayout* grid = NewGrid(body);
    layout->addWidget(body);
    for (const InfoRow& r : kRows) {
        auto* label = new QLabel(r.caption, this);
        label->setObjectName(r.label);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(r.control);
        edit->setReadOnly(true);
        if (std::strcmp(r.control, "cxArea") == 0)
            edit->setMinimumWidth(LongestAreaWidth(edit));
        edits_.push_back(edit);
        label->setBuddy(edit);
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
    }
    AddCloseButton(layout);
}

QLineEdit* TfInfoMsg::Edit(const char* control) const
{
    for (size_t i = 0; i < edits_.size(); ++i)
        if (std::strcmp(kRows[i].control, control) == 0)
            return edits_[i];
    return nullptr;
}

void TfInfoMsg::Fill()
{
    for (size_t i = 0; i < edits_.size(); ++i) {
        const InfoRow& r = kRows[i];
        QString text = QString::fromStdString(r.text());
        edits_[i]->setText(r.upperCase ? text.toUpper() : text);
    }
}
