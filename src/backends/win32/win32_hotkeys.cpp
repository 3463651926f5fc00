// SPDX-License-Identifier: MIT
#include "backends/win32/win32_hotkeys.h"

namespace pelmora {

namespace {

// The window property through which the hook finds its service; the view keeps its own
// pointer in GWLP_USERDATA, which stays untouched.
constexpr const wchar_t* kServiceProperty = L"Pelmora.HotkeyService";

}  // namespace

Win32HotkeyService::~Win32HotkeyService() {
    for (const int id : registered_) UnregisterHotKey(window_, id);
    registered_.clear();
    SetReceiver(nullptr);
}

bool Win32HotkeyService::Register(int id, int modifiers, int virtualKey) {
    if (!window_) return false;
    // The program's modifier flags are the MOD_ values themselves.
    const UINT flags = static_cast<UINT>(modifiers) & (MOD_ALT | MOD_CONTROL | MOD_SHIFT);
    if (!RegisterHotKey(window_, id, flags, static_cast<UINT>(virtualKey))) return false;
    registered_.insert(id);
    return true;
}

bool Win32HotkeyService::Release(int id) {
    if (registered_.erase(id) == 0) return false;
    return UnregisterHotKey(window_, id) != 0;
}

void Win32HotkeyService::SetReceiver(std::function<void(int id)> receiver) {
    receiver_ = std::move(receiver);
    if (receiver_) {
        if (previous_ || !window_) return;  // hooked already, or nothing to hook
        if (!SetPropW(window_, kServiceProperty, this)) return;
        const LONG_PTR hook = reinterpret_cast<LONG_PTR>(&HookProcedure);
        previous_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window_, GWLP_WNDPROC, hook));
        if (!previous_) RemovePropW(window_, kServiceProperty);
        return;
    }
    if (!previous_) return;
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    RemovePropW(window_, kServiceProperty);
    previous_ = nullptr;
}

LRESULT CALLBACK Win32HotkeyService::HookProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<Win32HotkeyService*>(GetPropW(window, kServiceProperty));
    if (!self || !self->previous_) return DefWindowProcW(window, message, wParam, lParam);
    // Saved first: the receiver may clear itself (and take the hook away) while it runs.
    const WNDPROC previous = self->previous_;
    if (message == WM_HOTKEY && self->receiver_) {
        const std::function<void(int)> receiver = self->receiver_;
        receiver(static_cast<int>(wParam));
        if (self->afterHotkey) self->afterHotkey();
    }
    if (message == WM_NCDESTROY) {
        // The window goes with its hotkeys; the hook has nothing left to restore.
        RemovePropW(window, kServiceProperty);
        self->previous_ = nullptr;
        self->registered_.clear();
    }
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

}  // namespace pelmora
