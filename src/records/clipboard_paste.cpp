// SPDX-License-Identifier: MIT
#include "records/clipboard_paste.h"

#include <cmath>

#include "base/number_text.h"

namespace pelmora {

namespace {
std::string WithoutEndSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}
}  // namespace

std::optional<PointTexts> PointFromPastedText(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos || text.find(',', comma + 1) != std::string_view::npos) return std::nullopt;
    return PointTexts{WithoutEndSpaces(text.substr(0, comma)), WithoutEndSpaces(text.substr(comma + 1))};
}

std::optional<std::string> HandleFromPastedText(std::string_view text) {
    const double handle = ParseLeadingNumber(text);
    if (!std::isfinite(handle)) return std::nullopt;
    return FormatPlainNumber(handle);
}

}  // namespace pelmora
