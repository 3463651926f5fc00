// SPDX-License-Identifier: MIT
#include "backends/win32/win32_program.h"

#include <windows.h>
#include <ole2.h>

#include "backends/win32/win32_form_view.h"

namespace pelmora {

Win32Program::Win32Program() : oleInitialised_(SUCCEEDED(OleInitialize(nullptr))) {}

Win32Program::~Win32Program() {
    if (oleInitialised_) OleUninitialize();
}

namespace {

// The show command the program was started with, as WinMain would receive it.
int StartupShowCommand() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
}

}  // namespace

int Win32Program::Run(Win32FormView& view) {
    ShowWindow(view.Window(), StartupShowCommand());
    UpdateWindow(view.Window());

    MSG message;
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (got == -1) return 0;
        if (view.TakeTabKey(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace pelmora
