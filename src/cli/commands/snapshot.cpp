// SPDX-License-Identifier: MIT
// snapshot: a rectangle of the screen as a bitmap file, or on standard output.
#include "capture/bitmap_file.h"
#include "capture/screen_grab.h"
#include "cli/cli_answer.h"
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "cli/shown_text.h"
#include "sampling/screen_reading.h"

namespace pelmora {

namespace {
// The rectangle as the snapshot page grabs it: not clipped, off-screen parts black. FILE "-"
// is standard output, which gets the bitmap alone.
CliResult Run(const CliRequest& request, CliServices& services) {
    Desktop& desktop = services.desktop;
    const bool toOutput = request.file == kStandardOutputFile;
    if (toOutput && services.outputIsTerminal)
        return Refusal(kCliBadArguments,
                       "FILE: \"-\" writes the bitmap to standard output, which is a terminal here; "
                       "redirect it to a file or a pipe");
    // Without --rect the primary monitor, where it lies (on X11 not always at 0,0).
    const ScreenRegion rect = request.region ? *request.region : GetPrimaryScreen(desktop);
    const std::optional<Surface> picture =
        GrabScreenArea(desktop, rect.left, rect.top, rect.width, rect.height, request.cursor);
    if (!picture) return Refusal(kCliRefused, "the screen could not be read");
    const std::string bitmap = EncodeBitmap(*picture);
    if (toOutput) {
        if (const std::string failure = services.write(bitmap); !failure.empty())
            return Refusal(kCliRefused, "cannot write the output: " + failure);
        return Answered("");
    }
    if (const std::string failure = services.files.WriteFileWhole(request.file, bitmap); !failure.empty())
        return Refusal(kCliRefused, "FILE: cannot write " + QuotedInMessage(request.file) + ": " + failure);
    return Answered(AnswerText({{"path", request.file, CliShown::kAsIs},
                                {"left", Number(rect.left)},
                                {"top", Number(rect.top)},
                                {"width", Number(rect.width)},
                                {"height", Number(rect.height)}},
                               request.json));
}
}  // namespace

extern const CliCommand kSnapshotCommand;
const CliCommand kSnapshotCommand{
    "snapshot",
    "[--rect L,T,W,H] [--cursor] FILE",
    {"the rectangle (the primary screen without --rect) as", "a 24-bit bitmap, off-screen parts black, with the",
     "cursor drawn in with --cursor; written whole or not", "at all; prints FILE. FILE - writes the bitmap to",
     "standard output instead, and nothing else"},
    "Writes the rectangle (the primary screen without `--rect`) to FILE as a 24-bit bitmap, parts off the "
    "screen black, the cursor drawn in with `--cursor`, and prints FILE. The file is written whole or not at "
    "all: an existing FILE is replaced only by a complete new one, and nothing else is left beside it, not "
    "even when the command is killed. With FILE `-` the bitmap goes to standard output, alone (not to a "
    "terminal, and not with `--json`).",
    {"--rect", "--cursor", "--window", "--title", "--client"},
    [](const std::vector<std::string>& operands, CliRequest& request) {
        return ReadFileOperand("snapshot", operands, request);
    },
    Run,
};

}  // namespace pelmora
