// SPDX-License-Identifier: MIT
// pelmora-cli's coordinates relative to a window: --window HANDLE or --title TEXT, with
// --client for the window's client area instead of its frame.
#pragma once

#include <variant>

#include "cli/cli_request.h"
#include "cli/cli_result.h"
#include "cli/cli_services.h"

namespace pelmora {

// The window the request names: its --window handle (or HANDLE), or the first window the
// title search lists for --title; status 1 when that search lists none.
std::variant<WindowHandle, CliResult> ChosenWindow(const CliRequest& request, Desktop& desktop);

// Runs the request's command with every coordinate relative to the chosen window: its
// operands, regions and answers; a region not given is the window's rectangle. Status 1
// naming why when the window is gone, minimised, hidden or off every monitor.
CliResult RunInWindow(const CliRequest& request, CliServices& services);

}  // namespace pelmora
