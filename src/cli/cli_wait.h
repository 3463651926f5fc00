// SPDX-License-Identifier: MIT
// pelmora-cli's waits over the shared wait loop.
#pragma once

#include <functional>
#include <string>

#include "cli/cli_request.h"
#include "cli/cli_result.h"
#include "cli/cli_services.h"

namespace pelmora {

// Looks at once and then every --interval until look finds what it waits for (status 0) or
// fails otherwise than by not finding it (status 2 or 3), and answers with that look's
// result; status 1 naming what once --timeout has passed since the first look.
CliResult WaitAnswer(const CliRequest& request, CliServices& services, const std::function<CliResult()>& look,
                     const std::string& what);

}  // namespace pelmora
