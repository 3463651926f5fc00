// SPDX-License-Identifier: MIT
// wait-change: waits until a region of the screen changes.
#include "cli/cli_answer.h"
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "cli/cli_wait.h"
#include "cli/region_watch.h"

namespace pelmora {

namespace {
CliResult Run(const CliRequest& request, CliServices& services) {
    RegionWatch watch(request, services);
    return WaitAnswer(
        request, services,
        [&] {
            const auto look = watch.Look(false);
            if (const auto* refused = std::get_if<CliResult>(&look)) return *refused;
            const RegionWatch::Change& changed = std::get<RegionWatch::Change>(look);
            if (!changed) return CliResult{kCliNotFound, "", ""};
            return Answered(AnswerText({{"changed", *changed, CliShown::kAsIs}}, request.json));
        },
        "change");
}
}  // namespace

extern const CliCommand kWaitChangeCommand;
const CliCommand kWaitChangeCommand{
    "wait-change",
    "[--region L,T,W,H]",
    {"look, then every --interval MS until the region", "differs from that first look; print L,T,W,H of",
     "every pixel changed"},
    "Look at the region (every monitor without `--region`), then every `--interval` milliseconds (50) until "
    "it differs from that first look, and print `L,T,W,H`, the smallest rectangle holding every changed pixel; "
    "exit 1 after `--timeout` milliseconds (10000). Each look is compared with the first row by row (memcmp), "
    "and only a row that differs is searched for its changed pixels.",
    {"--region", "--timeout", "--interval", "--window", "--title", "--client"},
    [](const std::vector<std::string>& operands, CliRequest&) { return ReadNoOperand("wait-change", operands); },
    Run,
};

}  // namespace pelmora
