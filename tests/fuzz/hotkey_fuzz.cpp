// SPDX-License-Identifier: MIT
// libFuzzer target for the hotkey notation: whatever the bytes, ParseHotkeyText and
// ModifierFlags answer without undefined behaviour, and they agree with a reference written
// here from the notation's rules. With a comma the modifiers are those of the exact word
// before the first comma and the key is the text after it read strictly as an integer (no
// hotkey when it is not one); without a comma the key is the leading number of the whole
// text rounded halves to even, with no modifier. Any broken promise aborts, which libFuzzer
// reports.
#include <array>
#include <cfenv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "hotkeys/hotkey_notation.h"

namespace {

constexpr std::array<std::pair<std::string_view, int>, 7> kModifierWords = {{
    {"Alt", 1},
    {"Ctrl", 2},
    {"Ctrl+Alt", 3},
    {"Shift", 4},
    {"Shift+Alt", 5},
    {"Ctrl+Shift", 6},
    {"Ctrl+Alt+Shift", 7},
}};

int ReferenceFlags(std::string_view word) {
    for (const auto& [spelling, flags] : kModifierWords)
        if (spelling == word) return flags;
    return 0;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t DigitsAt(std::string_view text, std::size_t at) {
    std::size_t count = 0;
    while (at + count < text.size() && IsDigit(text[at + count])) ++count;
    return count;
}

// Length of the number at the start of text: a sign, digits with at most one point among
// them (one digit at least), then an exponent only where digits follow its letter and sign.
std::size_t NumberLength(std::string_view text) {
    std::size_t at = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    const std::size_t whole = DigitsAt(text, at);
    at += whole;
    std::size_t fraction = 0;
    if (at < text.size() && text[at] == '.') {
        fraction = DigitsAt(text, at + 1);
        at += 1 + fraction;
    }
    if (whole + fraction == 0) return 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
        const std::size_t digits = DigitsAt(text, exponent);
        if (digits > 0) at = exponent + digits;
    }
    return at;
}

double Value(std::string_view number) { return std::strtod(std::string(number).c_str(), nullptr); }

std::string_view WithoutLeadingBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

double LeadingNumber(std::string_view text) {
    text = WithoutLeadingBlanks(text);
    const std::size_t length = NumberLength(text);
    return length == 0 ? 0.0 : Value(text.substr(0, length));
}

// The whole text as one finite number, blanks around it allowed.
std::optional<double> StrictNumber(std::string_view text) {
    text = WithoutLeadingBlanks(text);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (text.empty() || NumberLength(text) != text.size()) return std::nullopt;
    const double value = Value(text);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<int> RoundedInt32(double value) {
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return std::nullopt;
    return static_cast<int>(rounded);
}

std::optional<pelmora::HotkeyKeys> ReferenceKeys(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        const std::optional<int> key = RoundedInt32(LeadingNumber(text));
        if (!key) return std::nullopt;
        return pelmora::HotkeyKeys{0, *key};
    }
    const std::optional<double> number = StrictNumber(text.substr(comma + 1));
    const std::optional<int> key = number ? RoundedInt32(*number) : std::nullopt;
    if (!key) return std::nullopt;
    return pelmora::HotkeyKeys{ReferenceFlags(text.substr(0, comma)), *key};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The fuzzer's own buffer, exactly as long as the input: a read past its end is seen.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (pelmora::ModifierFlags(text) != ReferenceFlags(text)) std::abort();
    if (pelmora::ParseHotkeyText(text) != ReferenceKeys(text)) std::abort();
    return 0;
}
