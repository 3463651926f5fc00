// SPDX-License-Identifier: MIT
#include "cli/cli_operands.h"

#include "cli/argument_values.h"
#include "cli/shown_text.h"

namespace pelmora {

std::string ExtraOperand(const std::vector<std::string>& operands, std::size_t wanted) {
    return operands.size() > wanted ? ", got the extra " + QuotedInMessage(operands[wanted]) : std::string();
}

CliResult BadArguments(const std::string& message) { return Refusal(kCliBadArguments, message); }

std::optional<CliResult> ReadNoOperand(std::string_view command, const std::vector<std::string>& operands) {
    if (operands.empty()) return std::nullopt;
    return BadArguments(std::string(command) + ": takes no operand, got " + QuotedInMessage(operands[0]));
}

std::optional<CliResult> ReadOptionalPoint(std::string_view command, const std::vector<std::string>& operands,
                                           CliRequest& request) {
    if (operands.empty()) return std::nullopt;
    if (operands.size() != 2)
        return BadArguments(std::string(command) + ": wants X and Y, or neither (then the pointer's position)" +
                            ExtraOperand(operands, 2));
    return ReadPoint(operands, 0, request);
}

std::optional<CliResult> ReadOneOperand(std::string_view command, const std::vector<std::string>& operands,
                                        std::string_view what, std::string_view whatItIs) {
    if (operands.size() == 1) return std::nullopt;
    const std::string name(command);
    if (operands.empty()) return BadArguments(name + ": wants " + std::string(what) + ", " + std::string(whatItIs));
    return BadArguments(name + ": wants one " + std::string(what) + ExtraOperand(operands, 1));
}

std::optional<CliResult> ReadPoint(const std::vector<std::string>& operands, std::size_t at, CliRequest& request) {
    const auto x = ParseWholeArgument(operands[at], kInt32Low, kInt32High);
    if (!x) return BadArguments("X: wants a whole number of screen pixels, got " + QuotedInMessage(operands[at]));
    const auto y = ParseWholeArgument(operands[at + 1], kInt32Low, kInt32High);
    if (!y) return BadArguments("Y: wants a whole number of screen pixels, got " + QuotedInMessage(operands[at + 1]));
    request.point = ScreenPoint{*x, *y};
    return std::nullopt;
}

std::optional<CliResult> ReadColour(const std::string& text, CliRequest& request) {
    const auto colour = ParseColourArgument(text);
    if (!colour)
        return BadArguments("COLOUR: wants six hexadecimal digits (BGR) or #RRGGBB, got " + QuotedInMessage(text));
    request.colour = *colour;
    return std::nullopt;
}

std::optional<CliResult> ReadFileOperand(std::string_view command, const std::vector<std::string>& operands,
                                         CliRequest& request) {
    if (auto bad = ReadOneOperand(command, operands, "FILE", "a bitmap file")) return bad;
    request.file = operands[0];
    if (request.file.empty()) return BadArguments("FILE: wants a file name, got \"\"");
    if (request.file == kStandardOutputFile && request.json)
        return BadArguments("--json: not with FILE \"-\", where standard output carries the bitmap alone");
    return std::nullopt;
}

std::optional<CliResult> ReadPictureOperands(std::string_view command, const std::vector<std::string>& operands,
                                             CliRequest& request) {
    if (operands.empty()) return BadArguments(std::string(command) + ": wants FILE, a bitmap file, or several");
    for (const std::string& file : operands) {
        if (file.empty()) return BadArguments("FILE: wants a file name, got \"\"");
        if (file == kStandardOutputFile)
            return BadArguments(std::string(command) +
                                ": FILE: wants a bitmap file; \"-\" (standard output) is only snapshot's");
    }
    request.pictures = operands;
    return std::nullopt;
}

}  // namespace pelmora
