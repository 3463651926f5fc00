// SPDX-License-Identifier: MIT
// wait-colour: waits until a point has a colour.
#include "cli/cli_answer.h"
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "cli/cli_wait.h"
#include "cli/reading_answers.h"
#include "sampling/colour_forms.h"
#include "sampling/screen_reading.h"
#include "search/screen_search.h"

namespace pelmora {

namespace {
std::optional<CliResult> ReadOperands(const std::vector<std::string>& operands, CliRequest& request) {
    if (operands.size() != 3) return BadArguments("wait-colour: wants X, Y and COLOUR" + ExtraOperand(operands, 3));
    if (auto bad = ReadPoint(operands, 0, request)) return bad;
    return ReadColour(operands[2], request);
}

CliResult Run(const CliRequest& request, CliServices& services) {
    const ScreenPoint point = *request.point;
    return WaitAnswer(
        request, services,
        [&] {
            const Colour colour = GetScreenPixel(services.desktop, point.x, point.y);
            if (colour == kColourNoPixel || !ColoursNear(colour, request.colour, request.tolerance))
                return CliResult{kCliNotFound, "", ""};
            return PixelAnswer(request, services.desktop);
        },
        "colour " + ColourFormsOf(request.colour).hex + " at " + PointText(point));
}
}  // namespace

extern const CliCommand kWaitColourCommand;
const CliCommand kWaitColourCommand{
    "wait-colour",
    "X Y COLOUR [--tolerance N]",
    {},
    "",
    {"--tolerance", "--timeout", "--interval", "--window", "--title", "--client"},
    ReadOperands,
    Run,
};

}  // namespace pelmora
