// SPDX-License-Identifier: MIT
// pelmora-cli's commands over the desktop interface: each reads what it needs, and writes
// it in the forms the window shows, or as one JSON object.
#pragma once

#include "platform/desktop.h"
#include "programs/cli_arguments.h"

namespace pelmora {

// Runs request on desktop. A point off the screen, no window at a point, and a search
// that matches nothing give status 1 with a message and nothing on standard output.
CliResult RunCliCommand(const CliRequest& request, Desktop& desktop);

}  // namespace pelmora
