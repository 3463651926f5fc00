// SPDX-License-Identifier: MIT
#include "hotkeys/hotkey_notation.h"

#include "base/number_text.h"
#include "base/rounding.h"

namespace pelmora {

int ModifierFlags(std::string_view word) {
    struct Entry {
        std::string_view word;
        int flags;
    };
    static constexpr Entry kTable[] = {{"Alt", 1},       {"Ctrl", 2},       {"Ctrl+Alt", 3},      {"Shift", 4},
                                       {"Shift+Alt", 5}, {"Ctrl+Shift", 6}, {"Ctrl+Alt+Shift", 7}};
    for (const Entry& entry : kTable)
        if (entry.word == word) return entry.flags;
    return 0;
}

std::optional<HotkeyKeys> ParseHotkeyText(std::string_view keyText) {
    const auto comma = keyText.find(',');
    if (comma == std::string_view::npos) {
        const auto key = ToInt32(ParseLeadingNumber(keyText));
        if (!key) return std::nullopt;
        return HotkeyKeys{0, *key};
    }
    const auto key = ParseStrictInteger(keyText.substr(comma + 1));
    if (!key) return std::nullopt;
    return HotkeyKeys{ModifierFlags(keyText.substr(0, comma)), *key};
}

}  // namespace pelmora
