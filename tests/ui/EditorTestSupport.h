// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fixture of the settings editor tests: a fresh new document, windows
// opened as the main window opens them, and a second language on request.
#include <QComboBox>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/State.h"

inline QStringList Items(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

class EditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartFresh(dir.path().string());
        StartFirstDocument();
    }
    // Opens a window as the main window would, and checks that showing it
    // wrote nothing.
    template <class Form>
    std::unique_ptr<Form> Open()
    {
        const auto before = ALL.Image;
        auto form = std::make_unique<Form>();
        form->show();
        EXPECT_EQ(ALL.Image, before) << "opening " << form->objectName().toStdString() << " changed the image";
        EXPECT_FALSE(ALL.Modified);
        return form;
    }
    void ExpectBytes(size_t offset, std::vector<uint8_t> bytes)
    {
        for (size_t i = 0; i < bytes.size(); ++i)
            EXPECT_EQ(ALL.Image[offset + i], bytes[i]) << "offset 0x" << std::hex << offset + i;
    }
    // Turns on a language file for the windows opened afterwards.
    void UseLanguage(const std::string& contents)
    {
        dir.write("Deutsch.Ini", contents);
        ALL.LanguageName = "Deutsch";
        ALL.LanguageId = 1;
    }

    TempDir dir;
    MessageRecorder messages;
};
