// SPDX-License-Identifier: MIT
// find-colour: where a colour is on the screen.
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "cli/found_places.h"
#include "sampling/colour_forms.h"

namespace pelmora {

namespace {
std::optional<CliResult> ReadOperands(const std::vector<std::string>& operands, CliRequest& request) {
    if (auto bad = ReadOneOperand("find-colour", operands, "COLOUR", "six hexadecimal digits (BGR) or #RRGGBB"))
        return bad;
    return ReadColour(operands[0], request);
}

CliResult Run(const CliRequest& request, CliServices& services) {
    return FoundPlacesAnswer(
        request, services,
        [&](const Surface& area, const FoundPlace& found) {
            FindColourIn(area, request.colour, request.tolerance, found);
        },
        "colour " + ColourFormsOf(request.colour).hex);
}
}  // namespace

extern const CliCommand kFindColourCommand;
const CliCommand kFindColourCommand{
    "find-colour",
    "COLOUR [--region L,T,W,H] [--tolerance N] [--all]",
    {"x,y of the first pixel of COLOUR, rows from the top,", "each from the left; every one with --all"},
    "`x,y` of the first pixel of the colour in reading order (rows from the top, each from the left); every "
    "one, in that order, with `--all`, each printed as soon as it is found.",
    {"--region", "--tolerance", "--all", "--window", "--title", "--client"},
    ReadOperands,
    Run,
};

}  // namespace pelmora
