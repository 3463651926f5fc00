// pelmora.exe, the Windows program: the Win32 view and services. Builds the window on the
// Windows desktop and runs the message loop. The C runtime's start-up calls main for a
// windowed program too, so no Windows header is needed here.
#include "app/form1.h"
#include "backends/win32/win32_clipboard.h"
#include "backends/win32/win32_clock_pump.h"
#include "backends/win32/win32_desktop.h"
#include "backends/win32/win32_dialogs.h"
#include "backends/win32/win32_file_system.h"
#include "backends/win32/win32_form_view.h"
#include "backends/win32/win32_hotkeys.h"
#include "backends/win32/win32_program.h"
#include "backends/win32/win32_text.h"

int main() {
    using namespace pelmora;
    Win32Program program;
    AnsiEncoding encoding;
    Win32Desktop desktop(encoding);
    Win32Shell shell;
    Win32FileSystem files;
    Win32HotkeyService hotkeys;
    Win32Clock clock;
    Win32MessagePump pump;
    Win32Clipboard clipboard;
    Win32Dialogs dialogs;

    Form1 form({desktop, shell, files, hotkeys, clock, pump, encoding, clipboard, dialogs});
    Win32FormView view(form, kWindowCaption, kClientWidth, kClientHeight);
    if (!view.Window()) return 1;
    hotkeys.AttachWindow(view.Window());
    hotkeys.afterHotkey = [&view] { view.Sync(); };
    clipboard.SetOwner(view.Window());
    dialogs.SetOwner(view.Window());
    pump.beforeProcessing = [&view] { view.Sync(); };
    view.Dispatch([&form] { form.Form_Load(); });
    view.onClose = [&form] { form.Form_Unload(); };
    return program.Run(view);
}
