// SPDX-License-Identifier: MIT
// The window's ten point/colour slots as its settings file keeps them, read for slots and
// for the patterns of --slots: from the file --file names, or from the one the window
// reads, found by the window's own rule.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <variant>

#include "cli/cli_request.h"
#include "cli/cli_result.h"
#include "cli/cli_services.h"
#include "platform/desktop.h"
#include "records/point_slots.h"
#include "sampling/colour_model.h"

namespace pelmora {

// A slot that holds a point: x and y whole numbers, as the window's hotkeys write them.
struct SlotPoint {
    ScreenPoint point;
    Colour colour = 0;
};

struct StoredSlots {
    std::string file;                                        // where they were read
    std::array<std::optional<SlotPoint>, kSlotCount> slots;  // slot n is slots[n - 1]; empty without a point
};

// The slots of request's --file, or of the settings file the window reads. A --file that is
// no readable file is refused with status 2; a file that is no settings file holds no slot.
// Without --file, no settings file yet (the window writes it when it closes) is status 1,
// one that cannot be read status 3.
std::variant<StoredSlots, CliResult> ReadStoredSlots(const CliRequest& request, CliFiles& files);

}  // namespace pelmora
