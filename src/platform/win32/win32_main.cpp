// pelmora.exe: builds the window on the Windows desktop and runs the message loop.
#include <windows.h>
#include <ole2.h>

#include "app/form1.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_clock_pump.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_form_view.h"
#include "platform/win32/win32_hotkeys.h"
#include "platform/win32/win32_text.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    using namespace pelmora;
    // The file dialogs, the clipboard and the accessibility service are COM and OLE.
    const bool oleInitialised = SUCCEEDED(OleInitialize(nullptr));
    int exitCode = 0;
    {
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
        if (!view.Window()) {
            if (oleInitialised) OleUninitialize();
            return 1;
        }
        hotkeys.AttachWindow(view.Window());
        hotkeys.afterHotkey = [&view] { view.Sync(); };
        clipboard.SetOwner(view.Window());
        dialogs.SetOwner(view.Window());
        pump.beforeProcessing = [&view] { view.Sync(); };
        view.Dispatch([&form] { form.Form_Load(); });
        view.onClose = [&form] { form.Form_Unload(); };
        ShowWindow(view.Window(), showCommand);
        UpdateWindow(view.Window());

        MSG message;
        BOOL got;
        while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
            if (got == -1) break;
            if (view.TakeTabKey(message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (got != -1) exitCode = static_cast<int>(message.wParam);
    }
    if (oleInitialised) OleUninitialize();
    return exitCode;
}
