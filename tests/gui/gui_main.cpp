// SPDX-License-Identifier: MIT
// GoogleTest main for widget tests: one QApplication with the program's appearance.
#include <gtest/gtest.h>

#include <QApplication>

#include "backends/qt/appearance.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    pelmora::ApplyAppearance(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
