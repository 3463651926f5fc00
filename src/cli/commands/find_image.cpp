// SPDX-License-Identifier: MIT
// find-image: where pictures lie on the screen, exactly or nearly.
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "cli/picture_answers.h"

namespace pelmora {

namespace {
CliResult Run(const CliRequest& request, CliServices& services) {
    const auto pictures = ReadPictureFiles(request, services.files);
    if (const auto* refused = std::get_if<CliResult>(&pictures)) return *refused;
    return FindPicturesAnswer(request, services, std::get<std::vector<Surface>>(pictures));
}
}  // namespace

extern const CliCommand kFindImageCommand;
const CliCommand kFindImageCommand{
    "find-image",
    "FILE.bmp... [--region L,T,W,H] [--tolerance N] [--transparent COLOUR] [--similarity S [--min-distance D]] "
    "[--scales F,...] [--all]",
    {"x,y of the top-left corner of the first place the", "picture lies; --transparent pixels match anything;",
     "--similarity: the best place scoring at least S", "(correlation coefficient; a one-colour picture: the",
     "share of its pixels within --tolerance); --scales:", "the picture resized by each factor; several FILEs:",
     "\"N x,y\", N the first picture found"},
    "`x,y` of the top-left corner of the first place, in reading order, where the picture in FILE lies on the "
    "screen, each pixel within `--tolerance`; every one with `--all`. FILE is any bitmap the program's editor "
    "reads. Pixels of the picture in the `--transparent` colour match anything, so a picture cleaned in the "
    "editor (the picked colours kept, the rest in the background colour) finds text or an icon over any "
    "background. With `--similarity S` (above 0, at most 1) each place is scored by the normalised correlation "
    "coefficient of the picture and the screen under it over the three channels (the score OpenCV's "
    "TM_CCOEFF_NORMED gives, transparent pixels left out), and the answer is the place with the highest score "
    "if it reaches S (ties: reading order), not the first place over S; a picture of one colour has no "
    "correlation and scores the share of its pixels within `--tolerance` of the screen. `--json` adds "
    "`score` (four decimals). With `--all`, every place that reaches S and is the best within `--min-distance` "
    "pixels of itself (default: half the picture's smaller side), best first. `--scales F,...` (each from 0.25 "
    "to 4) searches the picture resized by each factor (area averaging): 0.667 finds a picture cut at 150 % "
    "on a screen at 100 %, 1.5 the other way; the best over every scale wins and `--json` adds `scale`. "
    "Resizing blends pixels, so exact and tolerance searches rarely find a resized picture: use it with "
    "`--similarity`. Several FILEs are searched in one grab: the answer is the first picture, in the order "
    "given, that is found, written `N x,y` with N its number from 1 (`index` in JSON); with `--all` every "
    "place of every picture.",
    {"--region", "--tolerance", "--transparent", "--all", "--similarity", "--scales", "--min-distance", "--window",
     "--title", "--client"},
    [](const std::vector<std::string>& operands, CliRequest& request) {
        return ReadPictureOperands("find-image", operands, request);
    },
    Run,
};

}  // namespace pelmora
