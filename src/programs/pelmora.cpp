// SPDX-License-Identifier: MIT
// pelmora, the Linux program: the Qt view and services over the X11 desktop and hotkeys.
// Builds the window on the real desktop and runs the event loop.
#include <cstdio>
#include <cstdlib>

#include "app/form1.h"
#include "backends/qt/form_view.h"
#include "backends/qt/qt_application.h"
#include "backends/qt/qt_services.h"
#include "backends/qt/shutdown_triggers.h"
#include "backends/qt/socket_pump.h"
#include "backends/qt/view_hotkeys.h"
#include "backends/x11/huge_pages.h"
#include "backends/x11/x11_connection.h"
#include "backends/x11/x11_desktop.h"
#include "backends/x11/x11_hotkeys.h"
#include "platform/utf8_encoding.h"

int main(int argc, char* argv[]) {
    using namespace pelmora;
    QtApplication application(argc, argv);
    UseHugePagesForLargeBuffers();

    auto connection = X11Connection::Open();
    if (!connection) {
        const char* display = std::getenv("DISPLAY");
        std::fprintf(stderr, "pelmora: 无法连接到 X 服务器（DISPLAY=%s）。\n", display ? display : "");
        return 1;
    }
    X11Desktop desktop(*connection);
    X11HotkeyService x11Hotkeys(*connection);
    QtSocketPump hotkeyPump(x11Hotkeys.ConnectionFd(), [&x11Hotkeys] { x11Hotkeys.ProcessPendingEvents(); });
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
    return application.Run();
}
