// SPDX-License-Identifier: MIT
#include "backends/qt/qt_application.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTimer>
#include <clocale>
#include <cstdio>

#include "backends/posix/wayland_session.h"
#include "backends/qt/appearance.h"

namespace pelmora {

namespace {
// Qt ends the process when no platform plugin can start, so a box is only tried where the
// Wayland plugin is installed.
bool WaylandPluginInstalled() {
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
    return !platforms.entryList({QStringLiteral("libqwayland-*.so")}, QDir::Files).isEmpty();
}
}  // namespace

void ReportNoXServer(int& argc, char** argv, const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || !WaylandPluginInstalled()) return;
    qputenv("QT_QPA_PLATFORM", "wayland");
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(PELMORA_APP_ID));
    QMessageBox::critical(nullptr, QStringLiteral("Pelmora"), QString::fromStdString(message));
}

QtApplication::QtApplication(int& argc, char** argv) {
    // The window must live where the pointer, pixels and hotkeys are read, on X11, also when
    // the session asks Qt programs for Wayland; other choices (offscreen for tests) stay.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform.startsWith("wayland")) qputenv("QT_QPA_PLATFORM", "xcb");
    if (InWaylandSession())
        std::fprintf(stderr,
                     "pelmora: 当前是 Wayland 会话，本程序通过 XWayland 运行："
                     "只能读取 X11 程序的窗口，其他程序的像素、窗口和热键可能无法读取。\n");
    app_ = std::make_unique<QApplication>(argc, argv);
    // Qt takes every locale category from the environment, numbers included: in a German or
    // French locale strtod would then stop at the "." of "90.5" and printf write "90,5".
    // Numbers in fields, settings and the clipboard always use the point.
    std::setlocale(LC_NUMERIC, "C");
    QGuiApplication::setDesktopFileName(QStringLiteral(PELMORA_APP_ID));
    ApplyAppearance(*app_);
}

QtApplication::~QtApplication() = default;

void QtApplication::Post(const std::function<void()>& work) { QTimer::singleShot(0, app_.get(), work); }

int QtApplication::Run() { return app_->exec(); }

}  // namespace pelmora
