// SPDX-License-Identifier: MIT
// wait-image: waits until a picture lies on the screen.
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "cli/cli_wait.h"
#include "cli/found_places.h"
#include "cli/shown_text.h"

namespace pelmora {

namespace {
CliResult Run(const CliRequest& request, CliServices& services) {
    const auto picture = ReadPictureFile(request, services.files);
    if (const auto* refused = std::get_if<CliResult>(&picture)) return *refused;
    return WaitAnswer(
        request, services, [&] { return FindPictureAnswer(request, services, std::get<Surface>(picture)); },
        "picture " + QuotedInMessage(request.file));
}
}  // namespace

extern const CliCommand kWaitImageCommand;
const CliCommand kWaitImageCommand{
    "wait-image",
    "FILE.bmp [--region L,T,W,H] [--tolerance N] [--transparent COLOUR]",
    {},
    "",
    {"--region", "--tolerance", "--transparent", "--timeout", "--interval"},
    [](const std::vector<std::string>& operands, CliRequest& request) {
        return ReadFileOperand("wait-image", operands, request, false);
    },
    Run,
};

}  // namespace pelmora
