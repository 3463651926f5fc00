// SPDX-License-Identifier: MIT
// slots: the window's ten point/colour slots, as its settings file keeps them.
#include "cli/cli_answer.h"
#include "cli/cli_command.h"
#include "cli/cli_operands.h"
#include "cli/shown_text.h"
#include "cli/stored_slots.h"
#include "sampling/colour_model.h"
#include "windows/window_relative_desktop.h"

namespace pelmora {

namespace {
CliResult Run(const CliRequest& request, CliServices& services) {
    const auto stored = ReadStoredSlots(request, services.files);
    if (const auto* refused = std::get_if<CliResult>(&stored)) return *refused;
    const StoredSlots& slots = std::get<StoredSlots>(stored);
    std::string lines, objects;
    for (int n = 1; n <= kSlotCount; ++n) {
        const auto& slot = slots.slots[static_cast<std::size_t>(n - 1)];
        if (!slot) continue;
        const std::string hex = ColorHex6(slot->colour);
        const ScreenPoint point = services.window ? services.window->Relative(slot->point) : slot->point;
        lines += std::to_string(n) + " " + PointText(point) + " " + hex + "\n";
        std::string object = AnswerText({{"slot", Number(n)}, {"point", point}, {"hex", hex}}, true);
        object.pop_back();  // its line feed: the list goes on
        objects += (objects.empty() ? "" : ",") + object;
    }
    if (lines.empty()) return Refusal(kCliNotFound, "no slot holds a point in " + QuotedInMessage(slots.file));
    return Answered(request.json ? "{\"slots\":[" + objects + "]}\n" : lines);
}
}  // namespace

extern const CliCommand kSlotsCommand;
const CliCommand kSlotsCommand{
    "slots",
    "[--file PATH]",
    {"the window's slots that hold a point, one a line:", "n x,y COLOUR (n from 1 to 10)"},
    "The window's point/colour slots that hold a point, one a line: `n x,y COLOUR`, n the slot's number from 1 "
    "to 10, as the window shows them after a restart. They are read from the settings file the window reads "
    "(beside the program, or the per-user one; see Settings), or from the file `--file` names. With `--window` "
    "the points, screen points as the window grabbed them, are given relative to that window as it lies now.",
    {"--file", "--window", "--title", "--client"},
    [](const std::vector<std::string>& operands, CliRequest&) { return ReadNoOperand("slots", operands); },
    Run,
};

}  // namespace pelmora
