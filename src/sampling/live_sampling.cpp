// SPDX-License-Identifier: MIT
#include "sampling/live_sampling.h"

#include <string>

#include "base/number_text.h"
#include "sampling/screen_reading.h"

namespace pelmora {

LiveSampling::LiveSampling(Desktop& desktop, ColourReadout& readoutPanel)
    : desktop_(desktop), readoutPanel_(readoutPanel) {}

void LiveSampling::Place(ControlHost& host) {
    Check1.Place(host, nullptr, "Check1", -1, {344, 123, 89, 17});
    Check1.SetCaption("启动／停止");
    Check1.onClick = [this] { Check1_Click(); };

    Label8.Place(host, nullptr, "Label8", -1, {328, 127, 9, 9});
    Label8.SetBorder(true);
    Label8.SetBackColor(kColourGreen);
    Label8.SetToolTip("Alt+Ctrl+1 启动/停止");

    Label9.Place(host, nullptr, "Label9", -1, {344, 144, 48, 12});
    Label9.SetAutoSize(true);
    Label9.SetCaption("x:0\u3000y:0");

    Timer1.Place(host, nullptr, "Timer1", -1, {});
    Timer1.SetInterval(100);
}

void LiveSampling::Check1_Click() {
    if (Check1.Value() == 1) {
        Label8.SetBackColor(kColourRed);
        Timer1.SetEnabled(false);
        Timer1.SetEnabled(true);
        SamplingState = kSamplingRunning;
    } else {
        Label8.SetBackColor(kColourGreen);
        Timer1.SetEnabled(false);
        SamplingState = kSamplingStopped;
    }
}

ScreenPoint LiveSampling::ReadPointer() {
    const ScreenPoint pointer = GetPointerPos(desktop_);
    Label9.SetCaption("x:" + std::to_string(pointer.x) + "  y:" + std::to_string(pointer.y));
    return pointer;
}

void LiveSampling::ShowSample(ScreenPoint sampled, double reportedX, double reportedY) {
    readoutPanel_.x.SetText(FormatPlainNumber(reportedX));
    readoutPanel_.y.SetText(FormatPlainNumber(reportedY));
    readoutPanel_.ShowColour(GetScreenPixel(desktop_, sampled.x, sampled.y));
}

}  // namespace pelmora
