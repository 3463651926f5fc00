// SPDX-License-Identifier: MIT
#include "backends/win32/win32_services.h"

#include "backends/win32/win32_form_view.h"

namespace pelmora {

void Win32Services::AttachTo(Win32FormView& view) {
    hotkeys.AttachWindow(view.Window());
    hotkeys.afterHotkey = [&view] { view.Sync(); };
    clipboard.SetOwner(view.Window());
    dialogs.SetOwner(view.Window());
    pump.beforeProcessing = [&view] { view.Sync(); };
}

}  // namespace pelmora
