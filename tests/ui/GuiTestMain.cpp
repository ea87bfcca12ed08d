// SPDX-License-Identifier: GPL-3.0-or-later
// main() of the window tests: one QApplication for the whole program, then
// GoogleTest. Message boxes are answered by the tests, never shown.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
