// SPDX-License-Identifier: MIT
// What the clipboard's "V" buttons make of a pasted text: a coordinate pair for two fields,
// or a window handle number.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelmora {

// The x and y texts of a pasted coordinate pair.
struct PointTexts {
    std::string x;
    std::string y;
    friend bool operator==(const PointTexts&, const PointTexts&) = default;
};

// The two pieces of text around its only comma, each without the spaces at its ends (tabs
// and line breaks stay, and the pieces need not be numbers); none when text holds no comma
// or more than one.
std::optional<PointTexts> PointFromPastedText(std::string_view text);

// The leading number of text as plain decimal text ("0" when it does not begin with a
// number); none when the number is too large for any number type.
std::optional<std::string> HandleFromPastedText(std::string_view text);

}  // namespace pelmora
