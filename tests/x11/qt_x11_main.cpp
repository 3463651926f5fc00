// SPDX-License-Identifier: MIT
// GoogleTest main for tests of the Qt view and services on the real X server (DISPLAY):
// one QApplication on the xcb platform with the program's appearance.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "backends/qt/appearance.h"
#include "qt_event_wait.h"

namespace pelmora::testing {

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() >= limit.count()) return condition();
        // Runs the loop for up to 10 ms: events are handled as they come, without spinning.
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

}  // namespace pelmora::testing

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    pelmora::ApplyAppearance(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
