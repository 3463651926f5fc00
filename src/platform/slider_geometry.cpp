// SPDX-License-Identifier: MIT
#include "platform/slider_geometry.h"

#include <algorithm>

namespace pelmora {

int ToSliderValue(const ScrollBar& bar, int value) { return bar.Min() > bar.Max() ? -value : value; }

std::int16_t FromSliderValue(const ScrollBar& bar, int sliderValue) {
    // Inside the slider's range, so inside the control's 16-bit one.
    return static_cast<std::int16_t>(bar.Min() > bar.Max() ? -sliderValue : sliderValue);
}

std::int16_t SteppedValue(const ScrollBar& bar, int sliderDelta) {
    const int low = std::min(ToSliderValue(bar, bar.Min()), ToSliderValue(bar, bar.Max()));
    const int high = std::max(ToSliderValue(bar, bar.Min()), ToSliderValue(bar, bar.Max()));
    return FromSliderValue(bar, std::clamp(ToSliderValue(bar, bar.Value()) + sliderDelta, low, high));
}

int CentredOffset(int area, int item) {
    const int difference = area - item;
    return difference >= 0 ? difference / 2 : -((1 - difference) / 2);
}

}  // namespace pelmora
