// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <gtest/gtest.h>

// GUI tests never need a real display: default to the offscreen platform so that
// they also run (and list themselves) outside ctest.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The reading log's window is the module this build made, wherever the test runs.
    if (qEnvironmentVariableIsEmpty("SKIMMET_LOG_WINDOW_MODULE"))
        qputenv("SKIMMET_LOG_WINDOW_MODULE", SKIMMET_LOG_WINDOW_MODULE);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
