// SPDX-License-Identifier: MIT
#include "cli/cli_wait.h"

#include "search/waiting.h"

namespace pelmora {

CliResult WaitAnswer(const CliRequest& request, CliServices& services, const std::function<CliResult()>& look,
                     const std::string& what) {
    CliResult last;
    const bool ended = WaitUntil(services.clock, {request.timeoutMs, request.intervalMs}, [&] {
        last = look();
        return last.status != kCliNotFound;
    });
    if (ended) return last;
    return Refusal(kCliNotFound, "no " + what + " within " + std::to_string(request.timeoutMs) + " ms");
}

}  // namespace pelmora
