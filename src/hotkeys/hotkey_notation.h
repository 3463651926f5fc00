// SPDX-License-Identifier: MIT
// The text notation of a hotkey: "modifier word,virtual-key code" or a key code alone,
// for example "Ctrl+Alt,49" (Ctrl+Alt+1) or "38" (the Up arrow).
#pragma once

#include <optional>
#include <string_view>

namespace pelmora {

// A hotkey as the platform registers it.
struct HotkeyKeys {
    int modifiers;   // MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4 combined
    int virtualKey;  // the Windows virtual-key code
    friend bool operator==(const HotkeyKeys&, const HotkeyKeys&) = default;
};

// The modifier flags of an exact, case-sensitive modifier word; anything else is 0.
int ModifierFlags(std::string_view word);

// With a comma the key is the text after it, which must be an integer, and the word is the
// text before it; without one the key is the leading number of the whole text, rounded
// halves to even, and there is no modifier. Empty when the key part is not a number.
std::optional<HotkeyKeys> ParseHotkeyText(std::string_view keyText);

}  // namespace pelmora
