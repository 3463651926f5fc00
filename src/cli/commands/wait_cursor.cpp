// SPDX-License-Identifier: MIT
// wait-cursor: waits until the cursor has a feature code.
#include "cli/argument_values.h"
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "cli/cli_wait.h"
#include "cli/reading_answers.h"
#include "cli/shown_text.h"
#include "cursor/feature_code.h"

namespace pelmora {

namespace {
std::optional<CliResult> ReadOperands(const std::vector<std::string>& operands, CliRequest& request) {
    if (auto bad = ReadOneOperand("wait-cursor", operands, "CODE", "a cursor feature code")) return bad;
    const auto code = ParseFeatureCodeArgument(operands[0]);
    if (!code)
        return BadArguments("CODE: wants a feature code, a whole number from 0 to 2147483647, got " +
                            QuotedInMessage(operands[0]));
    request.code = *code;
    return std::nullopt;
}

CliResult Run(const CliRequest& request, CliServices& services) {
    return WaitAnswer(
        request, services,
        [&] {
            if (CursorFeatureCode(services.desktop, request.method) != request.code)
                return CliResult{kCliNotFound, "", ""};
            return CursorCodeAnswer(request, services.desktop);
        },
        "cursor with feature code " + std::to_string(request.code));
}
}  // namespace

extern const CliCommand kWaitCursorCommand;
const CliCommand kWaitCursorCommand{
    "wait-cursor",
    "CODE [--method 0|1|2]",
    {"look every --interval MS (50) until the colour, the", "picture or the cursor's feature code is there, and",
     "print it as pixel, find-image or cursor-code does;", "exit 1 after --timeout MS (10000)"},
    "Look at once, then every `--interval` milliseconds (50), until the colour is at the point, the picture is "
    "on the screen or the cursor has the feature code, and print it as `pixel`, `find-image` or `cursor-code` "
    "would; give up after `--timeout` milliseconds (10000). Each takes the options of the command it waits "
    "like.",
    {"--method", "--timeout", "--interval"},
    ReadOperands,
    Run,
};

}  // namespace pelmora
