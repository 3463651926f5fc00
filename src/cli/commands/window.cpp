// SPDX-License-Identifier: MIT
// window: a window's title and class.
#include "cli/argument_values.h"
#include "cli/cli_answer.h"
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "cli/shown_text.h"
#include "windows/window_reading.h"

namespace pelmora {

namespace {
std::optional<CliResult> ReadOperands(const std::vector<std::string>& operands, CliRequest& request) {
    if (auto bad = ReadOneOperand("window", operands, "HANDLE", "a window handle in decimal")) return bad;
    const auto handle = ParseWholeArgument(operands[0], kInt32Low, kInt32High);
    if (!handle) return BadArguments("HANDLE: wants a window handle in decimal, got " + QuotedInMessage(operands[0]));
    request.handle = *handle;
    return std::nullopt;
}

CliResult Run(const CliRequest& request, CliServices& services) {
    const WindowTexts texts = ReadWindowText(services.desktop, request.handle);
    // The desktop gives both texts empty for a handle that names no window; a script must
    // not take that for a window's texts. (A real window with neither title nor class is
    // rare, and says nothing a script could use either.)
    if (texts.title.empty() && texts.className.empty())
        return Refusal(kCliNotFound,
                       "no window " + std::to_string(request.handle) + ", or one with neither title nor class");
    return Answered(AnswerText({{"handle", Number(request.handle)},
                                {"title", texts.title, CliShown::kEscaped},
                                {"class", texts.className, CliShown::kEscaped}},
                               request.json));
}
}  // namespace

extern const CliCommand kWindowCommand;
const CliCommand kWindowCommand{
    "window",
    "HANDLE",
    {"the window's title and class, one per line"},
    "The window's title on the first line and its class on the second.",
    {},
    ReadOperands,
    Run,
};

}  // namespace pelmora
