// SPDX-License-Identifier: MIT
// A command's answer as named fields, and the one writer that turns them into plain lines
// or into one JSON object on one line.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/desktop.h"

namespace pelmora {

// A number as it is written, in decimal: a JSON number, unquoted.
struct CliNumber {
    std::string digits;
};
CliNumber Number(std::int64_t value);

// Numbers written together: "r,g,b" in a line, [r,g,b] in JSON.
struct CliNumbers {
    std::vector<std::string> digits;
};

// Texts from other programs: a line each, a JSON array of strings.
struct CliTexts {
    std::vector<std::string> texts;
};

// A text is a JSON string; a point is "x,y" in a line and the members "x" and "y" in JSON,
// whatever the field's name; a rectangle "L,T,W,H" and "left", "top", "width", "height".
using CliValue = std::variant<CliNumber, std::string, CliNumbers, CliTexts, ScreenPoint, ScreenRegion>;

// How a field shows in plain lines: not at all, as it is, or with the control characters
// of a text made visible (titles from other programs, one value a line).
enum class CliShown { kNo, kAsIs, kEscaped };

struct CliField {
    std::string name;  // its JSON member's name
    CliValue value;
    CliShown shown = CliShown::kNo;
    std::string caption = {};  // before its line in plain lines: "十进制："
};

// "x,y" of a point, as a plain line and every message writes it.
std::string PointText(ScreenPoint point);
// "L,T,W,H" of a rectangle.
std::string RegionText(const ScreenRegion& region);

// The fields as plain lines (those shown, in order) or as one JSON object holding every
// field in order, each ending with a line feed.
std::string AnswerText(const std::vector<CliField>& fields, bool json);

// One place of a list written as it is found: the place's plain lines, or its JSON object
// within {"points":[{"x":..,"y":..},..]}, whose opening goes with the first place.
std::string PlaceInList(const std::vector<CliField>& place, bool json, bool first);
// What closes such a list once its places are written.
std::string PlaceListEnd(bool json);

}  // namespace pelmora
