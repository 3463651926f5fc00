// SPDX-License-Identifier: MIT
// pelmora-cli's command line: the command, its operands and options read into one
// request, or the answer that needs no desktop (help, version, a bad argument).
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "cli/argument_values.h"
#include "cli/cli_request.h"
#include "cli/cli_result.h"

namespace pelmora {

// Reads the arguments after the program name. A bad argument gives status 2 and a message
// that names the argument and what it wanted; --help and --version give their text.
std::variant<CliRequest, CliResult> ParseCliArguments(const std::vector<std::string>& args);

}  // namespace pelmora
