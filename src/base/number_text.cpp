// SPDX-License-Identifier: MIT
#include "base/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/rounding.h"

namespace pelmora {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix of text that forms a number (sign, digits with at most
// one point, optional exponent); 0 when no digit is found.
std::size_t NumberPrefixLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            digits = true;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return 0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) ++j;
            i = j;
        }
    }
    return i;
}

double ToDouble(std::string_view number) {
    const std::string copy(number);
    return std::strtod(copy.c_str(), nullptr);
}

std::string_view SkipLeadingBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

}  // namespace

double ParseLeadingNumber(std::string_view text) {
    text = SkipLeadingBlanks(text);
    const std::size_t length = NumberPrefixLength(text);
    return length == 0 ? 0.0 : ToDouble(text.substr(0, length));
}

std::optional<double> ParseStrictNumber(std::string_view text) {
    text = SkipLeadingBlanks(text);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    const std::size_t length = NumberPrefixLength(text);
    if (length == 0 || length != text.size()) return std::nullopt;
    const double value = ToDouble(text);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<std::int32_t> ParseStrictInteger(std::string_view text) {
    const auto number = ParseStrictNumber(text);
    if (!number) return std::nullopt;
    return ToInt32(*number);
}

std::optional<std::uint32_t> ParseHexDigits(std::string_view text) {
    if (text.empty() || text.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        std::uint32_t digit;
        if (c >= '0' && c <= '9') digit = static_cast<std::uint32_t>(c - '0');
        else if (c >= 'A' && c <= 'F') digit = static_cast<std::uint32_t>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f') digit = static_cast<std::uint32_t>(c - 'a' + 10);
        else return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

std::string FormatPlainNumber(double value) {
    if (value == 0.0) return "0";  // also turns -0 into 0
    char buffer[64];
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        std::snprintf(buffer, sizeof buffer, "%.0f", value);
        return buffer;
    }
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    // Fifteen digits round the very largest numbers up past the largest double, which would
    // read back as infinite: those keep all seventeen.
    if (std::isinf(std::strtod(buffer, nullptr))) std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

}  // namespace pelmora
