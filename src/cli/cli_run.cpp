// SPDX-License-Identifier: MIT
#include "cli/cli_run.h"

#include <algorithm>

#include "cli/cli_command.h"
#include "cli/window_coordinates.h"

namespace pelmora {

namespace {
CliResult RunOnDesktop(const CliRequest& request, CliServices& services) {
    if (request.window || request.title) {
        const auto& options = request.command->options;
        if (std::find(options.begin(), options.end(), "--window") != options.end())
            return RunInWindow(request, services);
    }
    return request.command->run(request, services);
}
}  // namespace

CliResult RunCliCommand(const CliRequest& request, CliServices& services) {
    // A desktop that hides what the command needs, or would not give its screen, ends it
    // with the reason alone: what was written before stays written.
    try {
        return RunOnDesktop(request, services);
    } catch (const DesktopUnavailable& hidden) {
        return Refusal(kCliRefused, hidden.what());
    } catch (const ScreenRefused& refused) {
        return Refusal(kCliRefused, refused.what());
    }
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
