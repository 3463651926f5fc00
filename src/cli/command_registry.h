// SPDX-License-Identifier: MIT
// The table of pelmora-cli's commands, in the order --help and the manual list them: the
// one place that dispatches a command line to its command.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "cli/cli_command.h"

namespace pelmora {

std::span<const CliCommand* const> CliCommands();

// The command of that name, or none.
const CliCommand* FindCliCommand(std::string_view name);

// The names as a message lists them: "pointer, pixel, … or wait-cursor".
std::string CliCommandNames();

}  // namespace pelmora
