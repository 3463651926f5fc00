// SPDX-License-Identifier: MIT
// Reading a command's operands: the shapes several commands share, each with the message
// that names what the command wanted.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_request.h"
#include "cli/cli_result.h"

namespace pelmora {

// ", got the extra "X"" naming operands[wanted] when there are more operands than wanted,
// "" otherwise: the end of a message about a count of operands.
std::string ExtraOperand(const std::vector<std::string>& operands, std::size_t wanted);

// A bad command line: status 2 and the message.
CliResult BadArguments(const std::string& message);

// Operands of a command that takes none.
std::optional<CliResult> ReadNoOperand(std::string_view command, const std::vector<std::string>& operands);

// Operands X Y, or none (then the pointer's position), into request.point.
std::optional<CliResult> ReadOptionalPoint(std::string_view command, const std::vector<std::string>& operands,
                                           CliRequest& request);

// Exactly one operand: none gives "command: wants WHAT, what it is", more than one names
// the first extra.
std::optional<CliResult> ReadOneOperand(std::string_view command, const std::vector<std::string>& operands,
                                        std::string_view what, std::string_view whatItIs);

// X and Y at operands[at] and operands[at + 1], whole numbers, into request.point.
std::optional<CliResult> ReadPoint(const std::vector<std::string>& operands, std::size_t at, CliRequest& request);

// COLOUR into request.colour.
std::optional<CliResult> ReadColour(const std::string& text, CliRequest& request);

// The one operand FILE, a bitmap file to write, into request.file; "-" is standard
// output, but not with --json.
std::optional<CliResult> ReadFileOperand(std::string_view command, const std::vector<std::string>& operands,
                                         CliRequest& request);

// The operands FILE..., one or more bitmap files, into request.pictures.
std::optional<CliResult> ReadPictureOperands(std::string_view command, const std::vector<std::string>& operands,
                                             CliRequest& request);

}  // namespace pelmora
