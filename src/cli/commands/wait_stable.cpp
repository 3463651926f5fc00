// SPDX-License-Identifier: MIT
// wait-stable: waits until a region of the screen has stopped changing.
#include "cli/cli_answer.h"
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "cli/cli_wait.h"
#include "cli/region_watch.h"

namespace pelmora {

namespace {
CliResult Run(const CliRequest& request, CliServices& services) {
    if (!request.stableMs) return BadArguments("wait-stable: wants --for MS, how long the region must stay unchanged");
    const std::uint32_t stableMs = *request.stableMs;
    if (stableMs > request.timeoutMs)
        return BadArguments("--for: " + std::to_string(stableMs) + " ms is longer than --timeout " +
                            std::to_string(request.timeoutMs) + " ms: the wait could only time out");
    Clock& clock = services.clock;
    const std::uint32_t start = clock.Milliseconds();
    std::uint32_t unchangedSince = start;
    RegionWatch watch(request, services);
    return WaitAnswer(
        request, services,
        [&] {
            const auto look = watch.Look(true);
            const std::uint32_t now = clock.Milliseconds();
            // A region that could not be looked at (off the screen for now) has not stood still.
            const auto* refused = std::get_if<CliResult>(&look);
            if (refused || std::get<RegionWatch::Change>(look)) unchangedSince = now;
            if (refused) return *refused;
            if (now - unchangedSince < stableMs) return CliResult{kCliNotFound, "", ""};
            return Answered(AnswerText({{"waited", Number(now - start), CliShown::kAsIs}}, request.json));
        },
        std::to_string(stableMs) + " ms without change");
}
}  // namespace

extern const CliCommand kWaitStableCommand;
const CliCommand kWaitStableCommand{
    "wait-stable",
    "--for MS [--region L,T,W,H]",
    {"look every --interval MS until the region has not", "changed for MS; print the milliseconds waited"},
    "Look at the region (every monitor without `--region`) at once and every `--interval` milliseconds (50) "
    "until it has shown no change for `--for` milliseconds, and print how many milliseconds it waited in all; "
    "exit 1 after `--timeout` milliseconds (10000), which must not be shorter than `--for`.",
    {"--for", "--region", "--timeout", "--interval", "--window", "--title", "--client"},
    [](const std::vector<std::string>& operands, CliRequest&) { return ReadNoOperand("wait-stable", operands); },
    Run,
};

}  // namespace pelmora
