// SPDX-License-Identifier: MIT
#include "cli/cli_run.h"

#include <algorithm>

#include "cli/cli_command.h"
#include "cli/window_coordinates.h"

namespace pelmora {

CliResult RunCliCommand(const CliRequest& request, CliServices& services) {
    if (request.window || request.title) {
        const auto& options = request.command->options;
        if (std::find(options.begin(), options.end(), "--window") != options.end())
            return RunInWindow(request, services);
    }
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
