// SPDX-License-Identifier: MIT
// One pelmora-cli command, declared in one place: its name, its operands and options, the
// lines --help gives it, the paragraph of the manual and the README, and what it runs.
// Each lives in a file of its own under cli/commands/; the registry lists them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_request.h"
#include "cli/cli_result.h"
#include "cli/cli_services.h"

namespace pelmora {

struct CliCommand {
    std::string_view name;
    // What follows the name on its usage line: "[X Y] [--format F]".
    std::string_view usage;
    // --help's lines for it, beside or below the usage line. A command without lines of its
    // own shares the next command's (the waits are explained once).
    std::vector<std::string_view> help;
    // Its paragraph in the manual page and the README, plain text; empty for a command that
    // shares the next command's, as with help.
    std::string_view manual;
    // The options it takes ("--format"); any other is refused.
    std::vector<std::string_view> options;
    // Reads the operands after the name into request; a refusal (status 2) when they are not
    // what the command wants. The options are read after, in the option table's order.
    std::optional<CliResult> (*readOperands)(const std::vector<std::string>& operands, CliRequest& request);
    // Runs the request on the services.
    CliResult (*run)(const CliRequest& request, CliServices& services);
};

}  // namespace pelmora
