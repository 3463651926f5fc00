// Mod_注册系统热键: registers and releases the system-wide hotkeys, and hooks the main
// window's procedure so that hotkey messages reach HotKeyWndProc. The window's own
// procedure ignores hotkey messages: while it is in place, pressed hotkeys do nothing.
#pragma once

#include <functional>
#include <set>
#include <string_view>

#include "platform/hotkey_service.h"

namespace pelmora {

enum class WindowProcedure { Own, HotKeyWndProc };

class HotkeyHook {
public:
    HotkeyHook(HotkeyService& service, std::function<void(int id)> hotKeyWndProc);

    // action "Add" registers id for keyText, "Del" releases it; the first call installs the
    // hook. The hook stays while any hotkey is registered, so releasing one hotkey never
    // stops the others from being dispatched; releasing the last one restores the window's
    // own procedure.
    void SetHotKey(int id, std::string_view keyText, std::string_view action);

    bool HookInstalled = false;
    WindowProcedure PreviousWndProc = WindowProcedure::Own;
    WindowProcedure CurrentWndProc() const { return current_; }
    bool Registered(int id) const { return registered_.contains(id); }

private:
    void SetWindowProcedure(WindowProcedure procedure);

    HotkeyService& service_;
    std::function<void(int id)> hotKeyWndProc_;
    WindowProcedure current_ = WindowProcedure::Own;
    std::set<int> registered_;
};

}  // namespace pelmora
