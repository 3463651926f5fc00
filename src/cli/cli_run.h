// SPDX-License-Identifier: MIT
// Running a pelmora-cli request and ending the program with its answer, the same on every
// platform; the mains only supply the services and the standard streams.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "cli/cli_request.h"
#include "cli/cli_result.h"
#include "cli/cli_services.h"

namespace pelmora {

// Runs request's command on the services. What the result's out holds is for the caller
// to write after what already went out through the services' write.
CliResult RunCliCommand(const CliRequest& request, CliServices& services);

struct CliStreams {
    // Writes to standard output and sees it out (flushed); the system's reason when it
    // could not, "" when it was written.
    std::function<std::string(std::string_view bytes)> writeOutput;
    std::function<void(std::string_view text)> writeError;
};

// Writes what is left of result's output, then its messages, and gives the exit status:
// output that could not be written (a closed pipe, a full disk) is no success but a
// refusal of the system, status 3 with its reason.
int EndCli(const CliResult& result, const CliStreams& streams);

}  // namespace pelmora
