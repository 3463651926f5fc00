// SPDX-License-Identifier: MIT
// pelmora.exe, the Windows program: the Win32 view and services. Builds the window on the
// Windows desktop and runs the message loop. The C runtime's start-up calls main for a
// windowed program too, so no Windows header is needed here.
#include "app/form1.h"
#include "backends/win32/win32_form_view.h"
#include "backends/win32/win32_program.h"
#include "backends/win32/win32_services.h"

int main() {
    using namespace pelmora;
    Win32Program program;
    Win32Services services;
    Form1 form(services.Services());
    Win32FormView view(form, kWindowCaption, kClientWidth, kClientHeight);
    if (!view.Window()) return 1;
    services.AttachTo(view);
    view.Dispatch([&form] { form.Form_Load(); });
    view.onClose = [&form] { form.Form_Unload(); };
    return program.Run(view);
}
