// SPDX-License-Identifier: MIT
// find-points: where a pattern of colours at offsets from one another is on the screen.
#include "cli/cli_command.h"
#include "cli/pattern_operands.h"
#include "cli/point_pattern_answers.h"

namespace pelmora {

namespace {
CliResult Run(const CliRequest& request, CliServices& services) {
    const auto pattern = RequestedPattern("find-points", request, services.files);
    if (const auto* refused = std::get_if<CliResult>(&pattern)) return *refused;
    return FindPointsAnswer(request, services, std::get<PointPattern>(pattern));
}
}  // namespace

extern const CliCommand kFindPointsCommand;
const CliCommand kFindPointsCommand{
    "find-points",
    "COLOUR DX,DY,COLOUR... | --slots LIST [--file PATH] [--region L,T,W,H] [--tolerance N] [--similarity S] "
    "[--all]",
    {"x,y of the first pixel of COLOUR with each point's", "colour at its offset DX,DY from it (!COLOUR: not",
     "that colour; COLOUR~N: its own tolerance); --slots", "1,3-5: the pattern of the window's slots"},
    "`x,y` of the first pixel of the first colour, in reading order, where each point DX,DY,COLOUR has its "
    "colour at that offset from it (DX, DY any whole numbers); every one with `--all`. `!COLOUR`: the point must "
    "not have that colour; `COLOUR~N`: the point's own tolerance instead of `--tolerance`. A point off the "
    "searched area misses, a `!` point there holds. With `--similarity S` (0 < S <= 1) a share 1 - S of the "
    "points may miss (rounded down: 0.8 of 10 points lets 2 miss); the first colour always matches. `--slots "
    "1,3-5` takes the pattern from the window's slots instead of the operands: the first slot listed gives the "
    "first colour, each other one a point at its offset from it, read from the settings file as `slots` reads "
    "it (`--file` names another).",
    {"--slots", "--file", "--region", "--tolerance", "--similarity", "--all", "--window", "--title", "--client"},
    [](const std::vector<std::string>& operands, CliRequest& request) {
        return ReadPatternOperands("find-points", operands, request);
    },
    Run,
};

}  // namespace pelmora
