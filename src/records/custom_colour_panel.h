// SPDX-License-Identifier: MIT
// The custom-coordinate panel, 颜色坐标(1) "自定义屏幕坐标": the colour at a point the
// user types, in every text form, relative to the start point while that is on.
#pragma once

#include "platform/controls.h"
#include "platform/desktop.h"
#include "records/grab_adjustment.h"
#include "sampling/colour_readout.h"

namespace pelmora {

class CustomColourPanel {
public:
    CustomColourPanel(Desktop& desktop, const GrabAdjustment& adjustment)
        : desktop_(desktop), adjustment_(adjustment) {}

    // The fields (prefix 自) and Command2 into frame, with room for the clipboard buttons.
    void Place(ControlHost& host, Frame& frame);

    // Reads the pixel at (自x, 自y), plus the start point while Check3 is checked; text that
    // is not a number, a point that does not fit 32 bits or lies off the screen changes nothing.
    void Command2_Click();

    ColourReadout fields;    // 自x, 自y (typed), 自颜色, 自10 … 自10l
    CommandButton Command2;  // "颜色显示": read the pixel at the typed point

private:
    Desktop& desktop_;
    const GrabAdjustment& adjustment_;
};

}  // namespace pelmora
