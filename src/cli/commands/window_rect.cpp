// SPDX-License-Identifier: MIT
// window-rect: where a window lies on the screen.
#include "cli/argument_values.h"
#include "cli/cli_answer.h"
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "cli/shown_text.h"
#include "cli/window_coordinates.h"
#include "windows/window_relative_desktop.h"

namespace pelmora {

namespace {
// HANDLE, or nothing when --title picks the window.
std::optional<CliResult> ReadOperands(const std::vector<std::string>& operands, CliRequest& request) {
    if (operands.empty()) return std::nullopt;
    if (operands.size() > 1) return BadArguments("window-rect: wants one HANDLE" + ExtraOperand(operands, 1));
    request.window = ParseWholeArgument(operands[0], kInt32Low, kInt32High);
    if (!request.window)
        return BadArguments("HANDLE: wants a window handle in decimal, got " + QuotedInMessage(operands[0]));
    return std::nullopt;
}

CliResult Run(const CliRequest& request, CliServices& services) {
    if (!request.window && !request.title) return BadArguments("window-rect: wants HANDLE, or --title TEXT");
    const auto chosen = ChosenWindow(request, services.desktop);
    if (const auto* refused = std::get_if<CliResult>(&chosen)) return *refused;
    const WindowHandle window = std::get<WindowHandle>(chosen);
    const WindowPlace place = services.desktop.PlaceOfWindow(window);
    if (place.state != WindowState::kShown) return Refusal(kCliNotFound, WindowUnusable(window, place.state));
    return Answered(AnswerText(
        {{"handle", Number(window)}, {"rect", WindowRectangle(place, request.client), CliShown::kAsIs}}, request.json));
}
}  // namespace

extern const CliCommand kWindowRectCommand;
const CliCommand kWindowRectCommand{
    "window-rect",
    "HANDLE [--client]",
    {"L,T,W,H of the window with its frame, or of its", "client area with --client"},
    "`L,T,W,H` of the window in screen pixels: its outline with the frame the window manager draws (on "
    "Windows the visible frame, without the invisible resize borders), or its client area with `--client`. "
    "`--title TEXT` instead of HANDLE takes the first window whose title holds TEXT. Exit 1 when the window is "
    "gone, minimised, hidden or off every monitor.",
    {"--client", "--title"},
    ReadOperands,
    Run,
};

}  // namespace pelmora
