// SPDX-License-Identifier: MIT
#include "cli/window_coordinates.h"

#include "cli/cli_command.h"
#include "cli/shown_text.h"
#include "windows/window_list.h"
#include "windows/window_relative_desktop.h"

namespace pelmora {

std::variant<WindowHandle, CliResult> ChosenWindow(const CliRequest& request, Desktop& desktop) {
    if (request.window) return *request.window;
    const WindowHandle found = FirstWindowTitled(desktop, request.title.value_or(""));
    if (found == 0) return Refusal(kCliNotFound, "no window title holds " + QuotedInMessage(*request.title));
    return found;
}

CliResult RunInWindow(const CliRequest& request, CliServices& services) {
    const auto chosen = ChosenWindow(request, services.desktop);
    if (const auto* refused = std::get_if<CliResult>(&chosen)) return *refused;
    WindowRelativeDesktop inWindow(services.desktop, std::get<WindowHandle>(chosen), request.client);
    if (const auto unusable = inWindow.Follow()) return Refusal(kCliNotFound, *unusable);
    CliRequest relative = request;
    if (!relative.region) relative.region = inWindow.Area();
    CliServices relativeServices{inWindow, services.files, services.clock, services.write, services.outputIsTerminal,
                                 &inWindow};
    return request.command->run(relative, relativeServices);
}

}  // namespace pelmora
