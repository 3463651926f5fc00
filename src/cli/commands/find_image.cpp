// SPDX-License-Identifier: MIT
// find-image: where a picture lies on the screen.
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "cli/found_places.h"

namespace pelmora {

namespace {
CliResult Run(const CliRequest& request, CliServices& services) {
    const auto picture = ReadPictureFile(request, services.files);
    if (const auto* refused = std::get_if<CliResult>(&picture)) return *refused;
    return FindPictureAnswer(request, services, std::get<Surface>(picture));
}
}  // namespace

extern const CliCommand kFindImageCommand;
const CliCommand kFindImageCommand{
    "find-image",
    "FILE.bmp [--region L,T,W,H] [--tolerance N] [--transparent COLOUR] [--all]",
    {"x,y of the top-left corner of the first place the", "picture lies; --transparent pixels match anything"},
    "`x,y` of the top-left corner of the first place, in reading order, where the picture in FILE lies on the "
    "screen; every one with `--all`. FILE is any bitmap the program's editor reads. Pixels of the picture in "
    "the `--transparent` colour match anything, so a picture cleaned in the editor (the picked colours kept, "
    "the rest in the background colour) finds text or an icon over any background.",
    {"--region", "--tolerance", "--transparent", "--all"},
    [](const std::vector<std::string>& operands, CliRequest& request) {
        return ReadFileOperand("find-image", operands, request, false);
    },
    Run,
};

}  // namespace pelmora
