// SPDX-License-Identifier: MIT
#include "cursor/cursor_page.h"

#include "cursor/feature_code.h"
#include "sampling/colour_model.h"

namespace pelmora {

namespace {
constexpr int kSwatchLeft = 22;
constexpr int kFirstSwatchTop = 16;
constexpr int kSwatchStep = 17;
constexpr int kMarkerBelowSwatchTop = 3;
}  // namespace

void CursorPage::Place(ControlHost& host, Frame& page) {
    焦点.Place(host, &page, "焦点", -1, {10, kFirstSwatchTop + kMarkerBelowSwatchTop, 9, 9});
    焦点.SetBackColor(kColourRed);
    for (int i = 0; i < kCursorSwatches; ++i) {
        Label& swatch = 鼠标块[i];
        swatch.Place(host, &page, "鼠标块", i, {kSwatchLeft, kFirstSwatchTop + i * kSwatchStep, 15, 15});
        swatch.SetCaption(std::to_string(i + 1));
        swatch.SetBorder(true);
        swatch.SetAlignment(Alignment::Centre);
        swatch.onClick = [this, i] { 鼠标块_Click(i); };
    }
    for (int i = 0; i < kCursorSwatches; ++i) {
        PictureBox& preview = 鼠标绘制[i];
        preview.Place(host, &page, "鼠标绘制", i, {44, 20, 41, 41});
        preview.EditImage().Resize(39, 39, kPreviewBackColour);  // the area inside the border
        preview.SetBackColor(kPreviewBackColour);
        preview.SetVisible(i == 0);
    }
    特征码标签.Place(host, &page, "特征码标签", -1, {96, 22, 50, 14});
    特征码标签.SetCaption("特征码：");
    鼠标特征码.Place(host, &page, "鼠标特征码", -1, {146, 20, 90, 18});
    鼠标特征码.SetLabelledBy(特征码标签);
    Combo1.Place(host, &page, "Combo1", -1, {96, 44, 140, 20});
    for (const char* method : {"默认方式", "方式一", "方式二(New)"}) Combo1.AddItem(method);
    Command7.Place(host, &page, "Command7", -1, {244, 18, 52, 46});
    Command7.SetCaption("测试\n获取");
    Command7.onClick = [this] { Command7_Click(); };
}

void CursorPage::Reset() {
    Combo1.SetListIndex(0);
    CurrentCursorSwatch = 0;
}

std::string CursorPage::CodeInto(int index) {
    return std::to_string(CursorFeatureCode(desktop_, 鼠标绘制[static_cast<std::size_t>(index)], Combo1.ListIndex()));
}

void CursorPage::Command7_Click() { 鼠标特征码.SetText(CodeInto(CurrentCursorSwatch)); }

void CursorPage::鼠标块_Click(int index) {
    const auto entered = static_cast<std::size_t>(index);
    const auto left = static_cast<std::size_t>(CurrentCursorSwatch);
    for (PictureBox& preview : 鼠标绘制) preview.SetVisible(false);
    鼠标绘制[entered].SetVisible(true);
    SwatchCodes[left] = 鼠标特征码.Text();
    SwatchMethods[left] = static_cast<std::int16_t>(Combo1.ListIndex());
    Rect marker = 焦点.Geometry();
    marker.top = 鼠标块[entered].Geometry().top + kMarkerBelowSwatchTop;
    焦点.SetGeometry(marker);
    鼠标特征码.SetText(SwatchCodes[entered]);
    Combo1.SetListIndex(SwatchMethods[entered]);
    CurrentCursorSwatch = static_cast<std::int16_t>(index);
}

void CursorPage::CaptureIntoSwatch(int index) {
    // Computed first, into the swatch's own preview and with the method shown now; the
    // switch runs before the code box takes the new code, so the swatch being left stores
    // the code it showed rather than the captured one.
    const std::string code = CodeInto(index);
    鼠标块_Click(index);
    鼠标特征码.SetText(code);
    SwatchCodes[static_cast<std::size_t>(index)] = code;
}

}  // namespace pelmora
