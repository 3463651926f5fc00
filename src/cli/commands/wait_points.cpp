// SPDX-License-Identifier: MIT
// wait-points: waits until a pattern of colours at offsets from one another is on the screen.
#include "cli/cli_command.h"
#include "cli/cli_wait.h"
#include "cli/pattern_operands.h"
#include "cli/point_pattern_answers.h"

namespace pelmora {

namespace {
CliResult Run(const CliRequest& request, CliServices& services) {
    // The slots are read once, before the first look.
    const auto requested = RequestedPattern("wait-points", request, services.files);
    if (const auto* refused = std::get_if<CliResult>(&requested)) return *refused;
    const PointPattern& pattern = std::get<PointPattern>(requested);
    return WaitAnswer(
        request, services, [&] { return FindPointsAnswer(request, services, pattern); }, PatternInMessage(pattern));
}
}  // namespace

extern const CliCommand kWaitPointsCommand;
const CliCommand kWaitPointsCommand{
    "wait-points",
    "COLOUR DX,DY,COLOUR... | --slots LIST [--file PATH] [--region L,T,W,H] [--tolerance N] [--similarity S]",
    {"look every --interval MS (50) until the pattern is", "there, and print it as find-points does; exit 1",
     "after --timeout MS (10000)"},
    "Look at once, then every `--interval` milliseconds (50), until the pattern is on the screen, and print it "
    "as `find-points` would; give up after `--timeout` milliseconds (10000). It takes the operands and options of "
    "`find-points` but `--all`; the slots of `--slots` are read once, before the first look.",
    {"--slots", "--file", "--region", "--tolerance", "--similarity", "--timeout", "--interval", "--window", "--title",
     "--client"},
    [](const std::vector<std::string>& operands, CliRequest& request) {
        return ReadPatternOperands("wait-points", operands, request);
    },
    Run,
};

}  // namespace pelmora
