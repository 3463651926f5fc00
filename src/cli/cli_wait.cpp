// SPDX-License-Identifier: MIT
#include "cli/cli_wait.h"

#include "search/waiting.h"
#include "windows/window_relative_desktop.h"

namespace pelmora {

CliResult WaitAnswer(const CliRequest& request, CliServices& services, const std::function<CliResult()>& look,
                     const std::string& what) {
    CliResult last;
    const bool ended = WaitUntil(services.clock, {request.timeoutMs, request.intervalMs}, [&] {
        // A window the coordinates are relative to is followed as it moves; once it is
        // closed or minimised there is nothing left to wait on.
        if (services.window)
            if (const auto unusable = services.window->Follow()) {
                last = Refusal(kCliNotFound, *unusable);
                return true;
            }
        last = look();
        return last.status != kCliNotFound;
    });
    if (ended) return last;
    return Refusal(kCliNotFound, "no " + what + " within " + std::to_string(request.timeoutMs) + " ms");
}

}  // namespace pelmora
