// SPDX-License-Identifier: MIT
// libFuzzer target for the number readers: whatever the bytes, ParseLeadingNumber and the
// strict readers give an answer without undefined behaviour; a strict number is what the
// lenient reader reads too; on text of the readers' own characters that strtod reads
// wholly they agree with it; the integer and hexadecimal readers agree with a reference in
// 64-bit arithmetic. Any broken promise aborts, which libFuzzer reports.
#include <cerrno>
#include <cfenv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "base/number_text.h"

namespace {

bool SameDouble(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

bool OnlyNumberCharacters(const std::string& text) {
    return text.find_first_not_of(" \t\r\n+-.0123456789eE") == std::string::npos;
}

// The strict decimal reading rounded halves-to-even, when it fits a signed 32-bit integer.
std::optional<std::int32_t> ReferenceInteger(const std::optional<double>& number) {
    if (!number) return std::nullopt;
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(*number);
    if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::int64_t>(rounded));
}

std::optional<std::uint32_t> ReferenceHex(const std::string& text) {
    if (text.empty() || text.size() > 8) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        const char* digits = "0123456789abcdef";
        const char lower = (c >= 'A' && c <= 'F') ? static_cast<char>(c - 'A' + 'a') : c;
        const char* at = lower == '\0' ? nullptr : std::strchr(digits, lower);
        if (!at) return std::nullopt;
        value = value * 16 + (at - digits);
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelmora;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double lenient = ParseLeadingNumber(text);
    const std::optional<double> strict = ParseStrictNumber(text);
    if (strict && (!std::isfinite(*strict) || !SameDouble(*strict, lenient))) std::abort();

    if (size > 0 && OnlyNumberCharacters(text)) {
        char* end = nullptr;
        errno = 0;
        const double reference = std::strtod(text.c_str(), &end);
        if (end == text.c_str() + size && end != text.c_str() && !SameDouble(reference, lenient)) std::abort();
    }

    if (ParseStrictInteger(text) != ReferenceInteger(strict)) std::abort();
    if (ParseHexDigits(text) != ReferenceHex(text)) std::abort();
    return 0;
}
