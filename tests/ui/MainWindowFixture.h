// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A main window shown on a fresh start in a folder of its own, with every
// question answered No and every message recorded.
#include <gtest/gtest.h>
#include <memory>

#include "TestSupport.h"
#include "app/ui/MainFrm.h"

class MainWindowFixture : public ::testing::Test {
protected:
    TempDir dir;
    MessageRecorder messages{kMsgNo};
    std::unique_ptr<TfMainFrm> window;
    void SetUp() override
    {
        StartFresh(dir.path().string());
        window = std::make_unique<TfMainFrm>();
        window->show();
    }
};
