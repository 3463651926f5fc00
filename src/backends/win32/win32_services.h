// SPDX-License-Identifier: MIT
// Every Windows service the window's logic runs on, made together in the order they depend
// on each other, and tied to the window once it exists. pelmora.exe and the tests that run
// the whole window build it the same way through this.
#pragma once

#include "platform/platform.h"
#include "backends/win32/win32_clipboard.h"
#include "backends/win32/win32_clock_pump.h"
#include "backends/win32/win32_desktop.h"
#include "backends/win32/win32_dialogs.h"
#include "backends/win32/win32_file_system.h"
#include "backends/win32/win32_hotkeys.h"
#include "backends/win32/win32_text.h"

namespace pelmora {

class Win32FormView;

struct Win32Services {
    AnsiEncoding encoding;
    Win32Desktop desktop{encoding};
    Win32Shell shell;
    Win32FileSystem files;
    Win32HotkeyService hotkeys;
    Win32Clock clock;
    Win32MessagePump pump;
    Win32Clipboard clipboard;
    Win32Dialogs dialogs;

    Platform Services() { return {desktop, shell, files, hotkeys, clock, pump, encoding, clipboard, dialogs}; }

    // Hotkeys, the clipboard and the dialogs belong to the view's window; after a hotkey and
    // before a wait processes messages, the view mirrors what the handlers changed.
    void AttachTo(Win32FormView& view);
};

}  // namespace pelmora
