// SPDX-License-Identifier: MIT
// The live read-out: the start/stop switch Check1 with its indicator Label8, the raw
// pointer position Label9, and the 100 ms poll of Timer1 that fills the get panel.
#pragma once

#include <cstdint>

#include "platform/controls.h"
#include "platform/desktop.h"
#include "sampling/colour_readout.h"

namespace pelmora {

// SamplingState's two values.
constexpr std::int16_t kSamplingStopped = 1;
constexpr std::int16_t kSamplingRunning = 2;

class LiveSampling {
public:
    // readoutPanel: the fields every poll fills.
    LiveSampling(Desktop& desktop, ColourReadout& readoutPanel);

    // Check1, Label8 and Label9 at their places on the window, and the timer.
    void Place(ControlHost& host);

    // Checked: Timer1 runs and Label8 turns red; unchecked: Timer1 stops, Label8 green.
    void Check1_Click();
    // The first steps of a poll: the pointer position, shown raw in Label9.
    ScreenPoint ReadPointer();
    // The get panel: the reported coordinates and the colour of the sampled point.
    void ShowSample(ScreenPoint sampled, double reportedX, double reportedY);

    CheckBox Check1;                                // "启动／停止": live sampling on or off
    Label Label8;                                   // the indicator square: green stopped, red running
    Label Label9;                                   // the raw pointer position, "x:0　y:0"
    Timer Timer1;                                   // the 100 ms poll, enabled while sampling runs
    std::int16_t SamplingState = kSamplingStopped;  // kSamplingStopped or kSamplingRunning

private:
    Desktop& desktop_;
    ColourReadout& readoutPanel_;
};

}  // namespace pelmora
