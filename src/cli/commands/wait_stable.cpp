// SPDX-License-Identifier: MIT
// wait-stable: waits until a region of the screen has stopped changing.
#include "cli/cli_answer.h"
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "cli/cli_wait.h"
#include "cli/found_places.h"
#include "search/picture_change.h"

namespace pelmora {

namespace {
CliResult Run(const CliRequest& request, CliServices& services) {
    if (!request.stableMs) return BadArguments("wait-stable: wants --for MS, how long the region must stay unchanged");
    const std::uint32_t stableMs = *request.stableMs;
    if (stableMs > request.timeoutMs)
        return BadArguments("--for: " + std::to_string(stableMs) + " ms is longer than --timeout " +
                            std::to_string(request.timeoutMs) + " ms, which would end every wait");
    Clock& clock = services.clock;
    const std::uint32_t start = clock.Milliseconds();
    std::optional<SearchGrab> last;  // the last look that differed from the one before
    std::uint32_t unchangedSince = start;
    return WaitAnswer(
        request, services,
        [&] {
            auto grab = GrabSearchArea(request, services);
            if (const auto* refused = std::get_if<CliResult>(&grab)) return *refused;
            SearchGrab& look = std::get<SearchGrab>(grab);
            const std::uint32_t now = clock.Milliseconds();
            if (!last || last->area != look.area || ChangedRectangle(last->pixels, look.pixels)) {
                last = std::move(look);
                unchangedSince = now;
            }
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
