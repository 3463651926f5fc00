// SPDX-License-Identifier: MIT
// pointer: where the pointer is.
#include "cli/cli_answer.h"
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "sampling/screen_reading.h"

namespace pelmora {

namespace {
CliResult Run(const CliRequest& request, CliServices& services) {
    return Answered(AnswerText({{"point", GetPointerPos(services.desktop), CliShown::kAsIs}}, request.json));
}
}  // namespace

extern const CliCommand kPointerCommand;
const CliCommand kPointerCommand{
    "pointer",
    "",
    {"the pointer's position: x,y"},
    "The pointer's position, `x,y`.",
    {"--window", "--title", "--client"},
    [](const std::vector<std::string>& operands, CliRequest&) { return ReadNoOperand("pointer", operands); },
    Run,
};

}  // namespace pelmora
