// SPDX-License-Identifier: MIT
#include "cli/cli_run.h"

#include "cli/cli_command.h"

namespace pelmora {

CliResult RunCliCommand(const CliRequest& request, CliServices& services) {
    return request.command->run(request, services);
}

int EndCli(const CliResult& result, const CliStreams& streams) {
    int status = result.status;
    std::string err = result.err;
    if (const std::string failure = streams.writeOutput(result.out); !failure.empty() && status != kCliRefused) {
        status = kCliRefused;
        err += "pelmora-cli: cannot write the output: " + failure + "\n";
    }
    streams.writeError(err);
    return status;
}

}  // namespace pelmora
