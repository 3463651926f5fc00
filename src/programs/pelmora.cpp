// SPDX-License-Identifier: MIT
// pelmora, the Linux program: the Qt view and services over the X11 desktop and hotkeys.
// Builds the window on the real desktop and runs the event loop.
#include <cstdio>
#include <cstdlib>
#include <string>

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

namespace {
std::string NoXServerMessage() {
    const char* display = std::getenv("DISPLAY");
    return std::string("pelmora: 无法连接到 X 服务器（DISPLAY=") + (display ? display : "") + "）。";
}
}  // namespace

int main(int argc, char* argv[]) {
    using namespace pelmora;
    // Qt ends the process on its own when it finds no X server; the user is told first.
    if (!X11Connection::Reachable()) {
        ReportNoXServer(argc, argv, NoXServerMessage());
        return 1;
    }
    QtApplication application(argc, argv);
    UseHugePagesForLargeBuffers();

    auto connection = X11Connection::Open();
    if (!connection) {  // the server went away in the meantime
        std::fprintf(stderr, "%s\n", NoXServerMessage().c_str());
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
    // The notice comes once the event loop runs, over the shown window.
    application.Post([&form, &view] { view.Dispatch([&form] { form.ShowSessionNotice(InWaylandSession()); }); });
    return application.Run();
}
