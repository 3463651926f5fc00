// SPDX-License-Identifier: MIT
// The cursor page, Frame2(1): three cursor swatches side by side, each with its own
// preview, stored feature code and stored method. One swatch is selected; the code box
// and the method box show the selected swatch.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/controls.h"
#include "platform/desktop.h"

namespace pelmora {

inline constexpr int kCursorSwatches = 3;
inline constexpr std::int32_t kPreviewBackColour = 14803425;  // E1E1E1, light grey

class CursorPage {
public:
    explicit CursorPage(Desktop& desktop) : desktop_(desktop) {}

    // The swatches with their marker and previews, the code box, the method box and
    // Command7 on page.
    void Place(ControlHost& host, Frame& page);
    // The start-up step: the default method, swatch 0 selected.
    void Reset();

    // Computes the code of the current cursor into the selected swatch's preview and the
    // code box, with the method the method box shows. The sampling tick runs it too while
    // this page is open.
    void Command7_Click();
    // Selects swatch index: shows its preview, keeps the code and method boxes of the
    // swatch being left, and loads those of index.
    void 鼠标块_Click(int index);
    // Ctrl+Alt+Q/W/E: the code of the current cursor into swatch index, which becomes the
    // selected swatch. The swatch that was selected keeps the code it showed.
    void CaptureIntoSwatch(int index);

    std::array<PictureBox, kCursorSwatches> 鼠标绘制;  // the previews, one above the other
    std::array<Label, kCursorSwatches> 鼠标块;         // the swatch selectors "1", "2", "3"
    Shape 焦点;                                        // marks the selected swatch
    Label 特征码标签;                                  // "特征码："
    TextBox 鼠标特征码;                                // the selected swatch's feature code
    ComboBox Combo1;                                   // the sampling method
    CommandButton Command7;                            // "测试获取": take the code once

    std::int16_t CurrentCursorSwatch = 0;         // the selected swatch, 0 to 2
    std::array<std::string, 4> SwatchCodes;       // each swatch's code, kept while another is selected
    std::array<std::int16_t, 4> SwatchMethods{};  // each swatch's method (Combo1's index), likewise

private:
    // The decimal code of the current cursor, drawn into swatch index's preview.
    std::string CodeInto(int index);

    Desktop& desktop_;
};

}  // namespace pelmora
