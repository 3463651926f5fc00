// SPDX-License-Identifier: MIT
#include "windows/crosshair_pick.h"

#include "sampling/colour_model.h"
#include "windows/window_reading.h"

namespace pelmora {

namespace {
constexpr int kCrossHairSize = 32;
constexpr int kCrossHairCentre = 15;  // the column and row of the two lines: the hot spot

void DrawLine(Surface& image, int x0, int y0, int x1, int y1) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) image.SetPixel(x, y, kColourBlack);
}
}  // namespace

Surface CrossHairImage() {
    Surface image(kCrossHairSize, kCrossHairSize, -1);
    DrawLine(image, kCrossHairCentre, 1, kCrossHairCentre, 29);  // vertical line
    DrawLine(image, 1, kCrossHairCentre, 29, kCrossHairCentre);  // horizontal line
    DrawLine(image, 13, 1, 17, 1);                               // bars across its ends
    DrawLine(image, 13, 29, 17, 29);
    DrawLine(image, 1, 13, 1, 17);
    DrawLine(image, 29, 13, 29, 17);
    return image;
}

CrossHairPick::CrossHairPick(Desktop& desktop, ControlHost& window, Control& focusAfterSwitch)
    : desktop_(desktop), window_(window), focusAfterSwitch_(focusAfterSwitch) {}

void CrossHairPick::Place(ControlHost& host, Frame& subPage) {
    const char* captions[4] = {"窗口句柄：", "窗口标题：", "窗口类名：", "准心"};
    TextBox* fields[3] = {&Text2, &Text1, &Text3};
    const char* names[3] = {"Text2", "Text1", "Text3"};
    const int widths[3] = {88, 104, 104};
    for (int row = 0; row < 3; ++row) {
        const int top = 6 + row * 17;
        拾取标签[row].Place(host, &subPage, "拾取标签", row, {4, top + 2, 58, 14});
        拾取标签[row].SetCaption(captions[row]);
        fields[row]->Place(host, &subPage, names[row], -1, {62, top, widths[row], 16});
        fields[row]->SetLabelledBy(拾取标签[row]);
        if (row > 0) {
            fields[row]->SetLocked(true);
            fields[row]->SetBackColor(kColourReadOnlyGrey);
        }
    }

    Check4.Place(host, &subPage, "Check4", -1, {190, 23, 15, 15});
    Check4.SetCaption("P");
    Check4.SetGraphical(true);
    Check4.SetToolTip("[按下]停止抓鼠标位置下窗口句柄！");
    Check4.onClick = [this] { Check4_Click(); };

    picCrossHair.Place(host, &subPage, "picCrossHair", -1, {212, 4, 36, 36});
    picCrossHair.SetBackColor(kColourReadOnlyGrey);
    picCrossHair.SetPicture(CrossHairImage());
    picCrossHair.SetEnabled(false);
    picCrossHair.SetLabelledBy(拾取标签[3]);
    picCrossHair.onMouseDown = [this](const MouseEvent& event) { picCrossHair_MouseDown(event); };
    picCrossHair.onMouseMove = [this](const MouseEvent& event) { picCrossHair_MouseMove(event); };
    picCrossHair.onMouseUp = [this](const MouseEvent& event) { picCrossHair_MouseUp(event); };
    拾取标签[3].Place(host, &subPage, "拾取标签", 3, {218, 42, 26, 14});
    拾取标签[3].SetCaption(captions[3]);

    imgCursor.Place(host, &subPage, "imgCursor", -1, {212, 4, 32, 32});
    imgCursor.SetBorder(false);
    imgCursor.SetPicture(CrossHairImage());
    imgCursor.SetVisible(false);
}

void CrossHairPick::AutomaticReadOut(const Frame& subPage, ScreenPoint pointer) {
    if (!subPage.Visible() || Check4.Value() == 1) return;
    ShowWindow(desktop_.WindowAt(pointer));
}

void CrossHairPick::ShowWindow(WindowHandle window) {
    const WindowTexts texts = ReadWindowText(desktop_, window);
    Text2.SetText(std::to_string(window));
    Text1.SetText(texts.title);
    Text3.SetText(texts.className);
}

void CrossHairPick::Check4_Click() {
    const bool pressed = Check4.Value() == 1;
    picCrossHair.SetEnabled(pressed);
    picCrossHair.SetBackColor(pressed ? kColourWhite : kColourReadOnlyGrey);
    focusAfterSwitch_.SetFocus();
}

void CrossHairPick::picCrossHair_MouseDown(const MouseEvent& event) {
    if (event.button != kLeftButton || CrossHairDragging) return;
    CrossHairDragging = true;
    window_.SetMouseIcon({imgCursor.Picture(), kCrossHairCentre, kCrossHairCentre});
    window_.SetMousePointer(MousePointer::Custom);
    picCrossHair.SetPicture({});  // the crosshair seems lifted out of its box
}

void CrossHairPick::picCrossHair_MouseMove(const MouseEvent& event) {
    if (event.button != kLeftButton || !CrossHairDragging) return;
    ShowWindow(WindowUnderPointer(desktop_));
}

void CrossHairPick::picCrossHair_MouseUp(const MouseEvent& event) {
    if (event.button != kLeftButton || !CrossHairDragging) return;
    CrossHairDragging = false;
    window_.SetMousePointer(MousePointer::Default);
    picCrossHair.SetPicture(imgCursor.Picture());
}

}  // namespace pelmora
