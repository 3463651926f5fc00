// SPDX-License-Identifier: MIT
#include "hotkeys/set_hotkey.h"

#include "hotkeys/hotkey_notation.h"

namespace pelmora {

HotkeyHook::HotkeyHook(HotkeyService& service, std::function<void(int id)> hotKeyWndProc)
    : service_(service), hotKeyWndProc_(std::move(hotKeyWndProc)) {}

void HotkeyHook::SetWindowProcedure(WindowProcedure procedure) {
    current_ = procedure;
    if (procedure == WindowProcedure::HotKeyWndProc) service_.SetReceiver(hotKeyWndProc_);
    else service_.SetReceiver(nullptr);
}

void HotkeyHook::SetHotKey(int id, std::string_view keyText, HotkeyAction action) {
    const auto keys = ParseHotkeyText(keyText);
    if (!keys) return;  // a key part that is not a number registers nothing

    if (!HookInstalled) {
        PreviousWndProc = current_;
        SetWindowProcedure(WindowProcedure::HotKeyWndProc);
        // Marked at once, so that a later call never saves the hook itself as the
        // window's previous procedure.
        HookInstalled = true;
    }

    if (action == HotkeyAction::Add) {
        if (service_.Register(id, keys->modifiers, keys->virtualKey)) registered_.insert(id);
        else registered_.erase(id);
    } else if (action == HotkeyAction::Del) {
        service_.Release(id);
        registered_.erase(id);
        if (registered_.empty()) {
            SetWindowProcedure(PreviousWndProc);
            HookInstalled = false;
        }
    }
}

}  // namespace pelmora
