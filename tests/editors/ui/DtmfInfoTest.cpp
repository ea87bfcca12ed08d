// SPDX-License-Identifier: GPL-3.0-or-later
// The DTMF and radio information windows, driven through their real
// controls.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "ui/EditorTestSupport.h"
#include "TestSupport.h"
#include "core/State.h"
#include "editors/ui/DtmfFun.h"
#include "editors/ui/InfoMsg.h"

namespace {

using DtmfInfo = EditorWindowTest;

} // namespace

TEST_F(DtmfInfo, DtmfWindowShowsTheNewDocument)
{
    auto form = Open<TfDtmfFun>();
    EXPECT_EQ(form->windowTitle(), "DTMF Function");
    EXPECT_EQ(form->cxDtmfInfo->count(), 2);
    EXPECT_EQ(form->cxDtmfInfo->tabText(0), "Encode");
    EXPECT_EQ(form->Edit("cxEntv")->text(), "");
    EXPECT_EQ(form->Edit("cxIdSv")->text(), "000");
    EXPECT_TRUE(form->Edit("cxEndv")->isEnabled());
    EXPECT_EQ(form->Combo("cxRate")->currentText(), "6");
    EXPECT_EQ(form->Combo("cxEfSv")->currentText(), "0");
    EXPECT_EQ(form->Combo("cxTxTs")->currentText(), "2000");
    EXPECT_EQ(form->Combo("cxStunSw")->currentText(), "Tx Inhibit");
    EXPECT_EQ(form->Combo("cxBack")->currentText(), "10");
    EXPECT_EQ(form->Combo("cxRxTs")->currentText(), "500");
    EXPECT_TRUE(form->Check("cxBeep")->isChecked());
    EXPECT_TRUE(form->Check("cxBkTs")->isChecked());
    // Each control sits in its group, each group on its page.
    auto* stun = form->findChild<QGroupBox*>("cgStun");
    ASSERT_NE(stun, nullptr);
    EXPECT_TRUE(stun->isAncestorOf(form->Edit("cxStunSv")));
    EXPECT_TRUE(form->findChild<QWidget*>("cxDecode")->isAncestorOf(stun));
    EXPECT_TRUE(form->findChild<QGroupBox*>("cgPtts")->isAncestorOf(form->Edit("cxEntv")));
}

TEST_F(DtmfInfo, TypedDigitStringsAreStoredWithTheirCountAndFiller)
{
    auto form = Open<TfDtmfFun>();
    QLineEdit* begin = form->Edit("cxEntv");
    QTest::keyClicks(begin, "12x3a");
    EXPECT_EQ(begin->text(), "123A");
    EXPECT_EQ(ALL.Image[0x14D], 4);
    ExpectBytes(0x160, {0x12, 0x3A, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_TRUE(ALL.Modified);
    QTest::keyClick(begin, Qt::Key_Backspace);
    EXPECT_EQ(ALL.Image[0x14D], 3);
    ExpectBytes(0x160, {0x12, 0x3F});
    // Moving, deleting and selecting edit where the cursor is.
    QTest::keyClick(begin, Qt::Key_Home);
    QTest::keyClick(begin, Qt::Key_Delete);
    QTest::keyClicks(begin, "9");
    QTest::keyClick(begin, Qt::Key_End);
    QTest::keyClick(begin, Qt::Key_Left);
    QTest::keyClicks(begin, "b");
    EXPECT_EQ(begin->text(), "92B3");
    ExpectBytes(0x160, {0x92, 0xB3, 0xFF});
    QTest::keyClick(begin, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(begin, "5");
    EXPECT_EQ(begin->text(), "5");

    // At most as many characters as the field has positions.
    QLineEdit* stun = form->Edit("cxStunSv");
    QTest::keyClicks(stun, "0123456789*#");
    EXPECT_EQ(stun->text(), "0123456789");
    EXPECT_EQ(ALL.Image[0x150], 10);

    // The ID code takes digits only and pads to three on storing.
    QLineEdit* id = form->Edit("cxIdSv");
    id->clear();
    QTest::keyClicks(id, "*a7");
    EXPECT_EQ(id->text(), "7");
    ExpectBytes(0x148, {0x70, 0x0F, 0xFF});

    // A pasted lower-case text is shown and stored in capitals.
    QLineEdit* end = form->Edit("cxEndv");
    end->setText("dc");
    EXPECT_EQ(end->text(), "DC");
    ExpectBytes(0x168, {0xDC, 0xFF});
    EXPECT_EQ(ALL.Image[0x14E], 2);
}

TEST_F(DtmfInfo, EveryChangeRewritesThePttIdBitsAndTheMappedLists)
{
    ALL.Image[0x142] = 0x6C; // PTT-ID OFF, "* and #" 1000 ms, stun type Tx/Rx
    ALL.Image[0x143] = 0xFE; // transpond Off: carried through
    auto form = Open<TfDtmfFun>();
    EXPECT_EQ(form->Combo("cxEfSv")->currentText(), "1000");
    form->Combo("cxEfSv")->setCurrentText("100");
    EXPECT_EQ(ALL.Image[0x142], 0x4F);
    EXPECT_EQ(ALL.Image[0x143], 0xFE);
    EXPECT_TRUE(ALL.Modified);

    ALL.Image[0x142] = 0x4C;
    QTest::keyClicks(form->Edit("cxEntv"), "1");
    EXPECT_EQ(ALL.Image[0x142] & 0x03, 3);

    form->Check("cxIdTs")->setChecked(false);
    EXPECT_EQ(ALL.Image[0x142] & 0x08, 0);
    form->Combo("cxStunSw")->setCurrentIndex(1);
    EXPECT_EQ(ALL.Image[0x142] & 0x80, 0x80);
    form->Combo("cxRxTs")->setCurrentText("1300");
    EXPECT_EQ(ALL.Image[0x146], 0xFD);
    form->Combo("cxGroup")->setCurrentText("#");
    EXPECT_EQ(ALL.Image[0x144] & 0x0F, 5);
}

TEST_F(DtmfInfo, DtmfPagesAndGroupsAreRelabelled)
{
    UseLanguage(
        "[fDtmfFun]\ncxEnCode.Caption=Senden\ncgStun.Caption=Sperre\ncxBeep.Caption=Mithoerton\n"
        "cxGroup.0=Aus\nlEntv.Caption=Anfang\n");
    auto form = Open<TfDtmfFun>();
    EXPECT_EQ(form->cxDtmfInfo->tabText(0), "Senden");
    EXPECT_EQ(form->cxDtmfInfo->tabText(1), "Decode");
    EXPECT_EQ(form->findChild<QGroupBox*>("cgStun")->title(), "Sperre");
    EXPECT_EQ(form->Check("cxBeep")->text(), "Mithoerton");
    EXPECT_EQ(form->Combo("cxGroup")->currentText(), "Aus");
    EXPECT_EQ(form->findChild<QLabel*>("lEntv")->text(), "Anfang");
}

TEST_F(DtmfInfo, RadioInformationShowsWhatTheDocumentKnowsAndWritesNothing)
{
    ALL.Image[0x1A0] = 'a';
    ALL.Image[0x1A1] = 'B';
    ALL.Image[0x1A2] = ' ';
    ALL.Image[0x1A3] = 'c';
    const uint8_t factory[] = {0xDC, 0x07, 0x0C, 0x1F, 0x17, 0x3B, 0x09};
    std::copy(std::begin(factory), std::end(factory), ALL.Image.begin() + 0x190);
    ALL.AreaCode = "0592";
    auto form = Open<TfInfoMsg>();
    EXPECT_EQ(form->windowTitle(), "Radio Information");
    EXPECT_EQ(form->Edit("cxModel")->text(), "QV-300");
    EXPECT_EQ(form->Edit("cxFreq")->text(), "400 - 520MHz");
    EXPECT_EQ(form->Edit("cxSerial")->text(), "ABC");
    EXPECT_EQ(form->Edit("cxLeaveTime")->text(), "2012-12-31 23:59:09");
    EXPECT_EQ(form->Edit("cxRadioTime")->text().size(), 19);
    EXPECT_EQ(form->Edit("cxArea")->text(), "FUJIAN - XIA MEN");
    EXPECT_TRUE(form->Edit("cxArea")->isReadOnly());
    EXPECT_FALSE(ALL.Modified);
}

TEST_F(DtmfInfo, RadioInformationShowsChineseAreaNamesForAnyOtherLanguage)
{
    UseLanguage("[fInfoMsg]\nlArea.Caption=Gebiet\n");
    ALL.AreaCode = "0592";
    auto form = Open<TfInfoMsg>();
    EXPECT_EQ(form->Edit("cxArea")->text(), QString::fromUtf8("福建省 - 厦门市"));
    EXPECT_EQ(form->findChild<QLabel*>("lArea")->text(), "Gebiet");
    EXPECT_EQ(form->Edit("cxSerial")->text(), "");
    EXPECT_EQ(form->Edit("cxLeaveTime")->text(), "");
}
