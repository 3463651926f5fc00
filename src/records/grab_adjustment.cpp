// SPDX-License-Identifier: MIT
#include "records/grab_adjustment.h"

#include "base/number_text.h"
#include "sampling/colour_model.h"

namespace pelmora {

namespace {
constexpr int kOffsetLimit = 9;
}

void GrabAdjustment::Place(ControlHost& host, Frame& offsetFrame, Frame& startFrame) {
    // Each check box sits on its frame's top line as the frame's title.
    Check2.Place(host, &offsetFrame, "Check2", -1, {7, 0, 74, 15});
    Check2.SetCaption("偏移抓点");
    Check2.onClick = [this] { Check2_Click(); };
    Label11.Place(host, &offsetFrame, "Label11", 1, {8, 24, 52, 14});
    Label11.SetCaption("偏移量＝");
    Label10.Place(host, &offsetFrame, "Label10", -1, {58, 22, 22, 17});
    Label10.SetCaption("-2");
    Label10.SetBorder(true);
    Label10.SetAlignment(Alignment::Centre);
    Label10.SetBackColor(kColourReadOnlyGrey);
    Command3.Place(host, &offsetFrame, "Command3", -1, {84, 16, 16, 15});
    Command3.SetCaption("+");
    Command3.onClick = [this] { Command3_Click(); };
    Command4.Place(host, &offsetFrame, "Command4", -1, {84, 31, 16, 15});
    Command4.SetCaption("-");
    Command4.onClick = [this] { Command4_Click(); };
    Command3.SetEnabled(false);
    Command4.SetEnabled(false);

    Check3.Place(host, &startFrame, "Check3", -1, {7, 0, 74, 15});
    Check3.SetCaption("定位起点");
    TextBox* fields[2] = {&起x, &起y};
    const char* names[2] = {"起x", "起y"};
    const char* captions[2] = {"Qx：", "Qy："};
    for (int i = 0; i < 2; ++i) {
        起点标签[i].Place(host, &startFrame, "起点标签", i, {6, 20 + i * 18, 24, 14});
        起点标签[i].SetCaption(captions[i]);
        fields[i]->Place(host, &startFrame, names[i], -1, {30, 18 + i * 18, 44, 17});
        fields[i]->SetText("0");
        fields[i]->SetMaxLength(4);
        fields[i]->SetLabelledBy(起点标签[i]);
    }
}

void GrabAdjustment::Check2_Click() {
    const bool on = Check2.Value() == 1;
    Command3.SetEnabled(on);
    Command4.SetEnabled(on);
    GrabOffset = on ? static_cast<std::int16_t>(ParseLeadingNumber(Label10.Caption())) : std::int16_t{0};
}

void GrabAdjustment::Command3_Click() { StepOffset(+1); }
void GrabAdjustment::Command4_Click() { StepOffset(-1); }

void GrabAdjustment::StepOffset(int step) {
    const int value = static_cast<int>(ParseLeadingNumber(Label10.Caption()));
    const int next = value + step;
    if (next > kOffsetLimit || next < -kOffsetLimit) return;
    Label10.SetCaption(std::to_string(next));
    GrabOffset = static_cast<std::int16_t>(next);
}

GrabPoint GrabAdjustment::AdjustGrabPoint(ScreenPoint pointer) const {
    const ScreenPoint sampled{pointer.x + GrabOffset, pointer.y + GrabOffset};
    if (Check3.Value() != 1) return {sampled, static_cast<double>(sampled.x), static_cast<double>(sampled.y)};
    return {sampled, sampled.x - ParseLeadingNumber(起x.Text()), sampled.y - ParseLeadingNumber(起y.Text())};
}

}  // namespace pelmora
