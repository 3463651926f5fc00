// SPDX-License-Identifier: MIT
// System-wide hotkeys over RegisterHotKey, and the hook in front of the main window's
// procedure: while a receiver is set the window's procedure is replaced (SetWindowLongPtr)
// by one that hands each WM_HOTKEY's id to the receiver and then passes every message on
// to the saved procedure (CallWindowProc); a cleared receiver puts the saved one back.
#pragma once

#include <windows.h>

#include <functional>
#include <set>

#include "platform/hotkey_service.h"

namespace pelmora {

class Win32HotkeyService : public HotkeyService {
public:
    Win32HotkeyService() = default;
    Win32HotkeyService(const Win32HotkeyService&) = delete;
    Win32HotkeyService& operator=(const Win32HotkeyService&) = delete;
    // Releases what is still registered and restores the window's own procedure.
    ~Win32HotkeyService() override;

    // The window that owns the hotkeys and whose procedure gets the hook; set before the
    // first Register or SetReceiver.
    void AttachWindow(HWND window) { window_ = window; }

    bool Register(int id, int modifiers, int virtualKey) override;
    bool Release(int id) override;
    void SetReceiver(std::function<void(int id)> receiver) override;

    // Runs after the receiver has handled a hotkey, so that the view shows what it changed.
    std::function<void()> afterHotkey;

private:
    // The procedure the hook puts in front of the window's own.
    static LRESULT CALLBACK HookProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    WNDPROC previous_ = nullptr;  // the window's own procedure while the hook is in place
    std::function<void(int id)> receiver_;
    std::set<int> registered_;
};

}  // namespace pelmora
