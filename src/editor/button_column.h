// SPDX-License-Identifier: MIT
// The editor's picture buttons stand in columns beside the viewport, 25 x 25 pixels each,
// one under the other every 24 pixels.
#pragma once

#include <array>
#include <cstddef>
#include <functional>

#include "platform/controls.h"

namespace pelmora {

// Places the buttons of array name at (left, top), (left, top + 24) …, each with
// picture(i) and toolTips[i], and clicking button i calls click(i).
template <typename Button, std::size_t N>
void PlaceButtonColumn(ControlHost& host, Frame& page, const char* name, std::array<Button, N>& buttons, int left,
                       int top, Surface (*picture)(int), const std::array<const char*, N>& toolTips,
                       const std::function<void(int)>& click) {
    for (std::size_t i = 0; i < N; ++i) {
        const int index = static_cast<int>(i);
        Button& button = buttons[i];
        button.Place(host, &page, name, index, {left, top + index * 24, 25, 25});
        button.SetPicture(picture(index));
        button.SetToolTip(toolTips[i]);
        button.onClick = [click, index] { click(index); };
    }
}

}  // namespace pelmora
