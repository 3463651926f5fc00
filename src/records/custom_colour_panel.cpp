// SPDX-License-Identifier: MIT
#include "records/custom_colour_panel.h"

#include <optional>

#include "base/number_text.h"
#include "base/rounding.h"
#include "sampling/screen_reading.h"

namespace pelmora {

void CustomColourPanel::Place(ControlHost& host, Frame& frame) {
    fields.Place(host, frame, "自", ColourReadout::Kind::TypedPoint);
    Command2.Place(host, &frame, "Command2", -1, {4, 51, 54, 18});
    Command2.SetCaption("颜色显示");
    Command2.onClick = [this] { Command2_Click(); };
    fields.swatch.SetLabelledBy(Command2);
}

void CustomColourPanel::Command2_Click() {
    if (fields.x.Text().empty() || fields.y.Text().empty()) return;
    const std::optional<std::int32_t> typedX = ParseStrictInteger(fields.x.Text());
    const std::optional<std::int32_t> typedY = ParseStrictInteger(fields.y.Text());
    if (!typedX || !typedY) return;
    std::optional<std::int32_t> x = typedX, y = typedY;
    if (adjustment_.Check3.Value() == 1) {  // typed relative to the start point
        x = ToInt32(*typedX + ParseLeadingNumber(adjustment_.起x.Text()));
        y = ToInt32(*typedY + ParseLeadingNumber(adjustment_.起y.Text()));
        if (!x || !y) return;
    }
    const Colour colour = GetScreenPixel(desktop_, *x, *y);
    if (colour == kColourNoPixel) return;
    fields.ShowColour(colour);
}

}  // namespace pelmora
