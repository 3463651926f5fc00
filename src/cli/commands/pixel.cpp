// SPDX-License-Identifier: MIT
// pixel: the colour at a point, in the forms the window shows.
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "cli/reading_answers.h"

namespace pelmora {

extern const CliCommand kPixelCommand;
const CliCommand kPixelCommand{
    "pixel",
    "[X Y] [--format F]",
    {"the colour at X Y (at the pointer without them);", "F: hex (0000FF, blue-green-red, the default), dec,",
     "rgb (r,g,b), hsl (h,s,l on 0..240) or all"},
    "The colour of the pixel at X Y (at the pointer without them): six hexadecimal digits in blue-green-red "
    "order, `0000FF` (hex, the default), the decimal colour value, `255` (dec), `255,0,0` (rgb: r,g,b), "
    "`0,240,120` (hsl: h,s,l on a scale of 0 to 240, as the panel shows them), or all four, one per line, "
    "labelled as in the program's window.",
    {"--format", "--window", "--title", "--client"},
    [](const std::vector<std::string>& operands, CliRequest& request) {
        return ReadOptionalPoint("pixel", operands, request);
    },
    [](const CliRequest& request, CliServices& services) { return PixelAnswer(request, services.desktop); },
};

}  // namespace pelmora
