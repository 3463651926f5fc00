// SPDX-License-Identifier: MIT
// wait-image: waits until one of the pictures lies on the screen.
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "cli/cli_wait.h"
#include "cli/picture_answers.h"

namespace pelmora {

namespace {
CliResult Run(const CliRequest& request, CliServices& services) {
    const auto pictures = ReadPictureFiles(request, services.files);
    if (const auto* refused = std::get_if<CliResult>(&pictures)) return *refused;
    return WaitAnswer(
        request, services,
        [&] { return FindPicturesAnswer(request, services, std::get<std::vector<Surface>>(pictures)); },
        PicturesNamed(request));
}
}  // namespace

extern const CliCommand kWaitImageCommand;
const CliCommand kWaitImageCommand{
    "wait-image",
    "FILE.bmp... [--region L,T,W,H] [--tolerance N] [--transparent COLOUR] [--similarity S] [--scales F,...]",
    {},
    "",
    {"--region", "--tolerance", "--transparent", "--similarity", "--scales", "--timeout", "--interval", "--window",
     "--title", "--client"},
    [](const std::vector<std::string>& operands, CliRequest& request) {
        return ReadPictureOperands("wait-image", operands, request);
    },
    Run,
};

}  // namespace pelmora
