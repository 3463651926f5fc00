// pelmora: builds the window on the real desktop and runs the event loop.
#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "app/form1.h"
#include "platform/qt/appearance.h"
#include "platform/qt/form_view.h"
#include "platform/qt/qt_services.h"
#include "platform/qt/shutdown_triggers.h"
#include "platform/qt/view_hotkeys.h"
#include "platform/qt/x11_hotkey_pump.h"
#include "platform/utf8_encoding.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_desktop.h"
#include "platform/x11/x11_hotkeys.h"

int main(int argc, char* argv[]) {
    using namespace pelmora;
    // Pointer, pixels and hotkeys are read over X11; under Wayland that means XWayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        std::fprintf(stderr,
                     "pelmora: 当前是 Wayland 会话，本程序通过 XWayland 运行："
                     "只能读取 X11 程序的窗口，其他程序的像素、窗口和热键可能无法读取。\n");

    QApplication app(argc, argv);
    ApplyAppearance(app);

    auto connection = X11Connection::Open();
    if (!connection) {
        std::fprintf(stderr, "pelmora: 无法连接到 X 服务器（DISPLAY=%s）。\n", std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
        return 1;
    }
    X11Desktop desktop(*connection);
    X11HotkeyService x11Hotkeys(*connection);
    X11HotkeyPump hotkeyPump(x11Hotkeys);
    ViewHotkeys hotkeys(x11Hotkeys);
    QtShell shell;
    QtFileSystem files;
    QtClock clock;
    QtMessagePump pump;
    Utf8Encoding encoding;
    QtClipboard clipboard;
    QtDialogs dialogs;

    Form1 form({desktop, shell, files, hotkeys, clock, pump, encoding, clipboard, dialogs});
    FormView view(form, kWindowCaption, kClientWidth, kClientHeight);
    hotkeys.AttachView(view);
    pump.beforeProcessing = [&view] { view.Sync(); };
    view.Dispatch([&form] { form.Form_Load(); });
    view.onClose = [&form] { form.Form_Unload(); };
    ShutdownTriggers triggers(view, [&form] { form.Form_Unload(); });
    view.show();
    return app.exec();
}
