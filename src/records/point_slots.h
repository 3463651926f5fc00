// SPDX-License-Identifier: MIT
// The ten point/colour slots of Frame3. A slot's text ("100,200 0000FF": x, a comma, y,
// a space and the colour as ColorHex6) is the only store of the slot; the swatch beside it
// shows the colour. Hotkeys fill them; the settings file keeps them across runs.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "platform/controls.h"
#include "platform/desktop.h"
#include "records/grab_adjustment.h"
#include "sampling/colour_model.h"
#include "settings/profile.h"

namespace pelmora {

inline constexpr int kSlotCount = 10;

// What the settings file holds for a slot, taken by the rules the window loads it by: x and
// y verbatim (any text, even none) and the colour value.
struct StoredSlot {
    std::string x, y;
    Colour colour = 0;
    // The slot's text once loaded: "x,y BBGGRR".
    std::string Text() const;
};

// Slot i from the keys Position<i>X, Position<i>Y and Color<i>, read gives each key's value
// in section "Position"; nothing when Color<i> is empty or no 32-bit number.
std::optional<StoredSlot> ReadStoredSlot(int i, const std::function<std::string(const std::string& key)>& read);

class PointSlots {
public:
    PointSlots(Desktop& desktop, const GrabAdjustment& adjustment) : desktop_(desktop), adjustment_(adjustment) {}

    // The swatches and slots in ten rows inside frame (Frame3).
    void Place(ControlHost& host, Frame& frame);

    // The point under the pointer (offset and start point applied) and its colour into slot k.
    void GrabIntoSlot(int k);

    // Slot i from the keys Position<i>X, Position<i>Y and Color<i> of section "Position";
    // an empty colour leaves the slot as it is. Statements that fail are skipped.
    void LoadSlot(int i, const SettingsFile& settings);
    // Slot i back into those keys; a key whose part cannot be taken is not written.
    void SaveSlot(int i, const SettingsFile& settings) const;

    std::array<TextBox, kSlotCount> 坐标颜色;  // the slots, read-only: "x,y BBGGRR"
    std::array<Label, kSlotCount> 色块;        // the swatches "1" to "10", in their slot's colour

private:
    Desktop& desktop_;
    const GrabAdjustment& adjustment_;
};

}  // namespace pelmora
