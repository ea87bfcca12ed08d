// SPDX-License-Identifier: GPL-3.0-or-later
// The key, optional function, VOX and scan windows, driven through their
// real controls.
#include <QCheckBox>
#include <QCoreApplication>
#include <QPointer>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

#include "ui/EditorTestSupport.h"
#include "TestSupport.h"
#include "core/State.h"
#include "editors/ui/KeyFun.h"
#include "editors/ui/OptFun.h"
#include "editors/ui/ScanFun.h"
#include "editors/ui/VoxFun.h"
#include "image/Image.h"

namespace {

using SettingsEditors = EditorWindowTest;

} // namespace

TEST_F(SettingsEditors, KeyFunctionShowsTheNewDocumentsKeysAndStoresCodesFoundByText)
{
    auto form = Open<TfKeyFun>();
    EXPECT_EQ(form->windowTitle(), "Key Function");
    EXPECT_TRUE(form->List_Short->isHidden());
    EXPECT_EQ(Items(form->Combo("cxKeyS1")), (QStringList{"Off", "Monmome", "Scan", "Warm", "Power H/L"}));
    EXPECT_EQ(form->Combo("cxKeyL2")->count(), 6);
    EXPECT_EQ(form->Combo("cxKeyS1")->currentText(), "Monmome");
    EXPECT_EQ(form->Combo("cxKeyL1")->currentText(), "Scan");
    EXPECT_EQ(form->Combo("cxKeyS2")->currentText(), "Power H/L");
    EXPECT_EQ(form->Combo("cxKeyL2")->currentText(), "Warm");

    // "Scan" is the third item of the short-press list, but code 3.
    form->Combo("cxKeyS1")->setCurrentIndex(2);
    EXPECT_EQ(ALL.Image[0x127], 0x33);
    EXPECT_TRUE(ALL.Modified);
    form->Combo("cxKeyL2")->setCurrentText("Transient Monmome");
    EXPECT_EQ(ALL.Image[0x128], 0x25);
}

TEST_F(SettingsEditors, KeyFunctionShortPressCodeTwoBecomesMonmomeOnTheNextChange)
{
    ALL.Image[0x128] = 0x42; // key 2: short code 2, long Warm
    auto form = Open<TfKeyFun>();
    EXPECT_EQ(form->Combo("cxKeyS2")->currentText(), "Monmome");
    form->Combo("cxKeyL1")->setCurrentText("Off");
    EXPECT_EQ(ALL.Image[0x127], 0x01);
    EXPECT_EQ(ALL.Image[0x128], 0x41);
}

TEST_F(SettingsEditors, KeyFunctionTranslatedListsKeepTheCodes)
{
    UseLanguage(
        "[fKeyFun]\nfKeyFun.Caption=Tasten\nL1.Caption=Taste 1\nList_Short.0=Aus\nList_Short.3=Suchlauf\n"
        "List_Long.3=Suchlauf\ncxKeyS1.0=nicht\n");
    auto form = Open<TfKeyFun>();
    EXPECT_EQ(form->windowTitle(), "Tasten");
    EXPECT_EQ(form->findChild<QLabel*>("L1")->text(), "Taste 1");
    EXPECT_EQ(Items(form->Combo("cxKeyS1")), (QStringList{"Aus", "Monmome", "Suchlauf", "Warm", "Power H/L"}));
    EXPECT_EQ(form->Combo("cxKeyL1")->currentText(), "Suchlauf");
    form->Combo("cxKeyS1")->setCurrentText("Suchlauf");
    EXPECT_EQ(ALL.Image[0x127], 0x33);
    form->Combo("cxKeyS1")->setCurrentText("Aus");
    EXPECT_EQ(ALL.Image[0x127], 0x30);
}

TEST_F(SettingsEditors, KeyFunctionATranslatedEmptyEntryIsOffered)
{
    UseLanguage("[fKeyFun]\nList_Short.2=Kurz\n");
    ALL.Image[0x127] = 0x32;
    auto form = Open<TfKeyFun>();
    EXPECT_EQ(form->Combo("cxKeyS1")->count(), 6);
    EXPECT_EQ(form->Combo("cxKeyS1")->currentText(), "Kurz");
}

TEST_F(SettingsEditors, KeyFunctionWithOneKeyShowsNoSelectionAndStoresNothing)
{
    ALL.KeyLayout = 1;
    auto form = Open<TfKeyFun>();
    EXPECT_TRUE(form->Combo("cxKeyS2")->isHidden());
    EXPECT_TRUE(form->findChild<QLabel*>("L2")->isHidden());
    EXPECT_EQ(form->Combo("cxKeyS1")->currentIndex(), -1);
    const auto before = ALL.Image;
    form->Combo("cxKeyS1")->setCurrentIndex(0);
    EXPECT_EQ(ALL.Image, before);
    EXPECT_TRUE(ALL.Modified);
}

TEST_F(SettingsEditors, OptionalFunctionFillsFromTheImageAndKeepsHiddenBits)
{
    auto form = Open<TfOptFun>();
    EXPECT_EQ(form->Combo("cxSQL")->currentText(), "5");
    EXPECT_EQ(form->Combo("cxTot")->currentText(), "180");
    EXPECT_EQ(form->Combo("cxWavs")->currentText(), "China");
    EXPECT_EQ(form->Combo("cxTxDis")->currentText(), "Both");
    EXPECT_EQ(form->Combo("cxRate")->currentText(), "1:4");
    EXPECT_EQ(form->Combo("cxBats")->currentText(), "5s");
    EXPECT_EQ(form->Combo("cxFM")->currentText(), "Turn on");

    form->Combo("cxRate")->setCurrentText("OFF");
    EXPECT_EQ(ALL.Image[0x121], 0xB5); // only 0x40 cleared
    EXPECT_TRUE(ALL.Modified);
    form->Combo("cxWavs")->setCurrentText("Off");
    EXPECT_EQ(ALL.Image[0x120], 0xFE); // bit 0x02 kept
    form->Combo("cxWavs")->setCurrentText("English");
    EXPECT_EQ(ALL.Image[0x120], 0xFD);
    // Beyond what the normalisation keeps, stored as chosen.
    form->Combo("cxTot")->setCurrentText("525");
    EXPECT_EQ(ALL.Image[0x122], 35);
    form->Combo("cxTxDis")->setCurrentText("Low Inhibit");
    EXPECT_EQ(ALL.Image[0x120] & 0xC0, 0x40);
    EXPECT_EQ(ALL.Image[0x120] & 0x20, 0x20); // bit 0x20 never touched
}

TEST_F(SettingsEditors, OptionalFunctionTranslatesOnlyWhatItsTagsAllow)
{
    UseLanguage(
        "[fOptFun]\ncxTot.0=Aus\ncxTot.1=x\ncxSQL.0=x\ncxTone.1=Ein\nlSQL.Caption=Rauschsperre\n"
        "btnCancel.Caption=&Schliessen\n");
    auto form = Open<TfOptFun>();
    EXPECT_EQ(form->Combo("cxTot")->itemText(0), "Aus");
    EXPECT_EQ(form->Combo("cxTot")->itemText(1), "15");
    EXPECT_EQ(form->Combo("cxSQL")->itemText(0), "0");
    EXPECT_EQ(form->Combo("cxTone")->currentText(), "Ein");
    EXPECT_EQ(form->findChild<QLabel*>("lSQL")->text(), "Rauschsperre");
    EXPECT_EQ(form->btnCancel->text(), "&Schliessen");
}

TEST_F(SettingsEditors, VoxTickDisablesTheListsAndKeepsTheirValues)
{
    auto form = Open<TfVoxFun>();
    QCheckBox* vox = form->Check("cxVoxS");
    EXPECT_FALSE(vox->isChecked());
    EXPECT_FALSE(form->Combo("cxVoxLv")->isEnabled());
    EXPECT_EQ(form->Combo("cxVoxLv")->currentText(), "5");
    EXPECT_EQ(form->Combo("cxVoxDv")->currentText(), "3.0");
    EXPECT_EQ(form->Combo("cxVoxRs")->currentText(), "Yes");

    vox->setChecked(true);
    EXPECT_EQ(ALL.Image[0x123], 0xE4);
    EXPECT_TRUE(ALL.Modified);
    EXPECT_TRUE(form->Combo("cxVoxDv")->isEnabled());
    form->Combo("cxVoxLv")->setCurrentText("9");
    form->Combo("cxVoxDv")->setCurrentText("0.5");
    EXPECT_EQ(ALL.Image[0x123], 0x88);
    vox->setChecked(false);
    EXPECT_EQ(ALL.Image[0x123], 0x98);
    EXPECT_FALSE(form->Combo("cxVoxRs")->isEnabled());
}

TEST_F(SettingsEditors, VoxGainTranslatesOnlyItsFirstItem)
{
    UseLanguage("[fVoxFun]\ncxVoxLv.0=eins\ncxVoxLv.1=zwei\ncxVoxS.Caption=VOX an\n");
    auto form = Open<TfVoxFun>();
    EXPECT_EQ(form->Combo("cxVoxLv")->itemText(0), "eins");
    EXPECT_EQ(form->Combo("cxVoxLv")->itemText(1), "2");
    EXPECT_EQ(form->Check("cxVoxS")->text(), "VOX an");
}

TEST_F(SettingsEditors, ScanLeavesASpeedPastItsListUntilOneIsPicked)
{
    ALL.Image[0x125] = 9;
    auto form = Open<TfScanFun>();
    QComboBox* speed = form->Combo("cxScanSpeed");
    EXPECT_EQ(speed->count(), 9);
    EXPECT_EQ(speed->currentIndex(), -1);
    EXPECT_EQ(speed->placeholderText(), "550");
    EXPECT_EQ(form->Combo("cxScanDely")->currentText(), "15");

    form->Combo("cxScanDely")->setCurrentText("30");
    EXPECT_EQ(ALL.Image[0x126], 27);
    EXPECT_EQ(ALL.Image[0x125], 9);
    EXPECT_TRUE(ALL.Modified);
    speed->setCurrentText("150");
    EXPECT_EQ(ALL.Image[0x125], 1);
}

TEST_F(SettingsEditors, ScanModeAndPriorityChannelAreNotKept)
{
    auto form = Open<TfScanFun>();
    EXPECT_EQ(form->Combo("cxScanMode")->currentText(), "SO");
    EXPECT_EQ(form->Combo("cxPriCh")->currentText(), "Off");
    EXPECT_EQ(form->Combo("cxPriCh")->count(), 17);
    const auto before = ALL.Image;
    form->Combo("cxScanMode")->setCurrentText("CO");
    form->Combo("cxPriCh")->setCurrentText("7");
    EXPECT_EQ(ALL.Image, before);
    EXPECT_TRUE(ALL.Modified);
    form.reset();
    ALL.Modified = false;
    auto again = Open<TfScanFun>();
    EXPECT_EQ(again->Combo("cxScanMode")->currentText(), "SO");
    EXPECT_EQ(again->Combo("cxPriCh")->currentText(), "Off");
}

TEST_F(SettingsEditors, CloseButtonDestroysTheWindowAndEmptiesItsReference)
{
    auto* form = new TfOptFun;
    form->show();
    QPointer<TfOptFun> watch(form);
    EXPECT_EQ(form->btnCancel->text(), "&Close");
    form->btnCancel->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull());
}

TEST_F(SettingsEditors, ScanWindowIsRelabelledAndKeepsItsSelections)
{
    UseLanguage(
        "[fScanFun]\nfScanFun.Caption=Suchlauf\nL0.Caption=Suchlauf-Daten\ncxPriCh.0=Aus\n"
        "cxScanMode.1=SO-de\nlScanSpeed.Caption=Tempo\n");
    auto form = Open<TfScanFun>();
    EXPECT_EQ(form->windowTitle(), "Suchlauf");
    EXPECT_EQ(form->findChild<QLabel*>("L0")->text(), "Suchlauf-Daten");
    EXPECT_EQ(form->findChild<QLabel*>("lScanSpeed")->text(), "Tempo");
    EXPECT_EQ(form->Combo("cxPriCh")->currentText(), "Aus");
    EXPECT_EQ(form->Combo("cxScanMode")->currentText(), "SO-de");
    EXPECT_EQ(form->Combo("cxScanSpeed")->currentText(), "100");
}
