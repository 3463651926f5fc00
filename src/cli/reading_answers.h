// SPDX-License-Identifier: MIT
// The answers that a reading command and the wait for it both print: the colour at a
// point, the cursor's feature code.
#pragma once

#include "cli/cli_request.h"
#include "cli/cli_result.h"
#include "platform/desktop.h"

namespace pelmora {

// The colour at request's point (the pointer's without one) in request's format; status 1
// off the screen.
CliResult PixelAnswer(const CliRequest& request, Desktop& desktop);

// The current cursor's feature code by request's method.
CliResult CursorCodeAnswer(const CliRequest& request, Desktop& desktop);

}  // namespace pelmora
