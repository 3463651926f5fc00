// SPDX-License-Identifier: MIT
// System-wide hotkeys: a key with modifiers that reaches the program while any program
// has the focus. Keys are Windows virtual-key codes and modifier flags on every platform.
#pragma once

#include <functional>

namespace pelmora {

// Modifier flags, as Windows numbers them (MOD_ALT, MOD_CONTROL, MOD_SHIFT).
enum HotkeyModifier : int { kModAlt = 1, kModControl = 2, kModShift = 4 };

class HotkeyService {
public:
    virtual ~HotkeyService() = default;
    // Registers id for the modifier flags and the virtual-key code. False when the key
    // cannot be had (another program holds it, or the key is unknown here); the program
    // goes on and that hotkey never fires.
    virtual bool Register(int id, int modifiers, int virtualKey) = 0;
    // Releases id; false when it was not registered.
    virtual bool Release(int id) = 0;
    // Receives the id of every registered hotkey that is pressed.
    virtual void SetReceiver(std::function<void(int id)> receiver) = 0;
};

}  // namespace pelmora
