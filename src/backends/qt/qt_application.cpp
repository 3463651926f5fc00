// SPDX-License-Identifier: MIT
#include "backends/qt/qt_application.h"

#include <QApplication>

#include <cstdio>

#include "backends/qt/appearance.h"

namespace pelmora {

QtApplication::QtApplication(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        std::fprintf(stderr,
                     "pelmora: 当前是 Wayland 会话，本程序通过 XWayland 运行："
                     "只能读取 X11 程序的窗口，其他程序的像素、窗口和热键可能无法读取。\n");
    app_ = std::make_unique<QApplication>(argc, argv);
    ApplyAppearance(*app_);
}

QtApplication::~QtApplication() = default;

int QtApplication::Run() { return app_->exec(); }

}  // namespace pelmora
