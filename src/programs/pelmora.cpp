// SPDX-License-Identifier: MIT
// pelmora, the Linux program: the Qt view and services over the X11 desktop and hotkeys.
// Builds the window on the real desktop and runs the event loop.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/form1.h"
#include "base/version.h"
#include "backends/posix/huge_pages.h"
#include "backends/posix/posix_clock.h"
#include "backends/posix/wayland_session.h"
#include "backends/qt/form_view.h"
#include "backends/qt/qt_application.h"
#include "backends/qt/qt_services.h"
#include "backends/qt/shutdown_triggers.h"
#include "backends/qt/socket_pump.h"
#include "backends/qt/view_hotkeys.h"
#include "backends/x11/x11_connection.h"
#include "backends/x11/x11_desktop.h"
#include "backends/x11/x11_hotkeys.h"
#include "platform/utf8_encoding.h"

namespace {
constexpr const char* kUsage =
    "Usage: pelmora [--help | --version]\n"
    "\n"
    "Pelmora reads what lies under the mouse pointer (its coordinates, the pixel's colour in\n"
    "every script-ready form, the window and the cursor's feature code) in a window of its\n"
    "own; started without arguments it opens that window.\n"
    "\n"
    "  --help      this text\n"
    "  --version   the version number\n"
    "\n"
    "The manual: man pelmora. For scripts, the same values on the command line: pelmora-cli\n"
    "(man pelmora-cli).\n";

// The command line's answer, given without a display: the version, the usage, or the refusal
// of an argument the window does not take (status 2). Nothing when there are no arguments.
std::optional<int> AnswerCommandLine(int argc, char* argv[]) {
    if (argc < 2) return std::nullopt;
    const std::string first = argv[1];
    if (argc == 2 && (first == "--version" || first == "--help" || first == "-h")) {
        std::fputs(first == "--version" ? "pelmora " PELMORA_VERSION_TEXT "\n" : kUsage, stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    const std::string refused = first == "--version" || first == "--help" || first == "-h" ? argv[2] : first;
    std::fprintf(stderr, "pelmora: takes no argument but --help or --version, got \"%s\"; see pelmora --help\n",
                 refused.c_str());
    return 2;
}

std::string NoXServerMessage() {
    const char* display = std::getenv("DISPLAY");
    return std::string("pelmora: 无法连接到 X 服务器（DISPLAY=") + (display ? display : "") + "）。";
}
}  // namespace

int main(int argc, char* argv[]) {
    using namespace pelmora;
    if (const std::optional<int> answered = AnswerCommandLine(argc, argv)) return *answered;
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
    PosixClock clock;
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
