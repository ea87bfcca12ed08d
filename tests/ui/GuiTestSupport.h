// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers for window tests.
#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

// Runs `act` on the modal dialog that the next command opens, from inside
// that dialog's event loop, so the test drives it like a user would and no
// dialog is left waiting.
template <typename Dialog, typename Act>
void OnNextDialog(Act act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "no dialog of the expected kind is open";
        act(dialog);
    });
}
