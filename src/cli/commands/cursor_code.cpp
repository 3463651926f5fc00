// SPDX-License-Identifier: MIT
// cursor-code: the current cursor's feature code.
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "cli/reading_answers.h"

namespace pelmora {

extern const CliCommand kCursorCodeCommand;
const CliCommand kCursorCodeCommand{
    "cursor-code",
    "[--method 0|1|2]",
    {"the current cursor's feature code"},
    "The feature code of the cursor shown now, by the method the cursor page offers (0 by default).",
    {"--method"},
    [](const std::vector<std::string>& operands, CliRequest&) { return ReadNoOperand("cursor-code", operands); },
    [](const CliRequest& request, CliServices& services) { return CursorCodeAnswer(request, services.desktop); },
};

}  // namespace pelmora
