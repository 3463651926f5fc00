// SPDX-License-Identifier: MIT
// Mod_注册系统热键: registers and releases the system-wide hotkeys, and hooks the main
// window's procedure so that hotkey messages reach HotKeyWndProc. The window's own
// procedure ignores hotkey messages: while it is in place, pressed hotkeys do nothing.
#pragma once

#include <functional>
#include <set>
#include <string_view>

#include "platform/hotkey_service.h"

namespace pelmora {

// The main window's procedure: its own, or the hook that hands hotkeys to HotKeyWndProc.
enum class WindowProcedure { Own, HotKeyWndProc };

// What SetHotKey does with a hotkey.
enum class HotkeyAction {
    Add,  // register it
    Del,  // release it
};

class HotkeyHook {
public:
    // Registers with service; hotKeyWndProc receives the id of every hotkey pressed while
    // the hook is in place.
    HotkeyHook(HotkeyService& service, std::function<void(int id)> hotKeyWndProc);

    // Add registers id for keyText, Del releases it (keyText is then ignored); the first
    // call installs the hook. The hook stays while any hotkey is registered, so releasing
    // one hotkey never stops the others from being dispatched; releasing the last one
    // restores the window's own procedure.
    void SetHotKey(int id, std::string_view keyText, HotkeyAction action);

    bool HookInstalled = false;                              // the hook is in place
    WindowProcedure PreviousWndProc = WindowProcedure::Own;  // the procedure the hook replaced
    // The window's procedure now.
    WindowProcedure CurrentWndProc() const { return current_; }
    // Whether hotkey id is registered.
    bool Registered(int id) const { return registered_.contains(id); }

private:
    // The window's procedure becomes procedure; only the hook passes hotkeys on.
    void SetWindowProcedure(WindowProcedure procedure);

    HotkeyService& service_;
    std::function<void(int id)> hotKeyWndProc_;
    WindowProcedure current_ = WindowProcedure::Own;
    std::set<int> registered_;  // the ids the service accepted and holds
};

}  // namespace pelmora
