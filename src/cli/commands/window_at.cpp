// SPDX-License-Identifier: MIT
// window-at: the handle of the window at a point.
#include "cli/cli_answer.h"
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "sampling/screen_reading.h"

namespace pelmora {

namespace {
CliResult Run(const CliRequest& request, CliServices& services) {
    Desktop& desktop = services.desktop;
    const ScreenPoint point = PointOrPointer(desktop, request.point);
    const WindowHandle window = desktop.WindowAt(point);
    if (window == 0) return Refusal(kCliNotFound, "no window at " + PointText(point));
    return Answered(AnswerText({{"point", point}, {"handle", Number(window), CliShown::kAsIs}}, request.json));
}
}  // namespace

extern const CliCommand kWindowAtCommand;
const CliCommand kWindowAtCommand{
    "window-at",
    "[X Y]",
    {"the handle of the window at X Y, in decimal"},
    "The handle of the window at the point (at the pointer without X Y), in decimal: the program's own "
    "window, not the window manager's frame.",
    {"--window", "--title", "--client"},
    [](const std::vector<std::string>& operands, CliRequest& request) {
        return ReadOptionalPoint("window-at", operands, request);
    },
    Run,
};

}  // namespace pelmora
