// SPDX-License-Identifier: MIT
#include "cli/pattern_operands.h"

#include <string>

#include "cli/argument_values.h"
#include "cli/cli_operands.h"
#include "cli/shown_text.h"

namespace pelmora {

namespace {
constexpr const char* kColourWanted = "six hexadecimal digits (BGR) or #RRGGBB";

// One point "DX,DY,[!]COLOUR[~N]", or why it is none; text names it in the message.
std::optional<CliResult> ReadPoint(const std::string& text, PatternPoint& point) {
    const std::string named = "DX,DY,COLOUR " + QuotedInMessage(text) + ": ";
    const std::size_t first = text.find(','), second = first == std::string::npos ? first : text.find(',', first + 1);
    if (second == std::string::npos || text.find(',', second + 1) != std::string::npos)
        return BadArguments(named + "wants DX, DY and COLOUR between two commas");
    const std::string dx = text.substr(0, first), dy = text.substr(first + 1, second - first - 1);
    std::string colour = text.substr(second + 1);
    const auto x = ParseWholeArgument(dx, kInt32Low, kInt32High);
    if (!x) return BadArguments(named + "DX wants a whole number of pixels, got " + QuotedInMessage(dx));
    const auto y = ParseWholeArgument(dy, kInt32Low, kInt32High);
    if (!y) return BadArguments(named + "DY wants a whole number of pixels, got " + QuotedInMessage(dy));
    point.dx = *x;
    point.dy = *y;
    if (colour.starts_with('!')) {
        point.absent = true;
        colour.erase(0, 1);
    }
    if (const std::size_t tilde = colour.find('~'); tilde != std::string::npos) {
        const std::string tolerance = colour.substr(tilde + 1);
        point.tolerance = ParseToleranceArgument(tolerance);
        if (!point.tolerance)
            return BadArguments(named + "~N wants a tolerance from 0 to 255, got " + QuotedInMessage(tolerance));
        colour.erase(tilde);
    }
    const auto value = ParseColourArgument(colour);
    if (!value) return BadArguments(named + "COLOUR wants " + kColourWanted + ", got " + QuotedInMessage(colour));
    point.colour = *value;
    return std::nullopt;
}
}  // namespace

std::optional<CliResult> ReadPatternOperands(std::string_view command, const std::vector<std::string>& operands,
                                             CliRequest& request) {
    if (operands.empty()) return std::nullopt;
    if (operands.size() == 1)
        return BadArguments(std::string(command) + ": wants at least one DX,DY,COLOUR after COLOUR, the points " +
                            "at offsets from the first colour's pixel");
    const std::string& first = operands[0];
    if (first.starts_with('!') || first.find('~') != std::string::npos)
        return BadArguments(
            "COLOUR: the first colour must be there, within --tolerance; \"!\" and \"~N\" are "
            "for the points after it, got " +
            QuotedInMessage(first));
    if (auto bad = ReadColour(first, request)) return bad;
    request.pattern.first = request.colour;
    for (std::size_t i = 1; i < operands.size(); ++i) {
        PatternPoint point;
        if (auto bad = ReadPoint(operands[i], point)) return bad;
        request.pattern.others.push_back(point);
    }
    return std::nullopt;
}

}  // namespace pelmora
