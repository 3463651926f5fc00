// SPDX-License-Identifier: MIT
// The twelve clipboard buttons Command11(0..11): tiny "C" (copy), "V" (paste), "E"
// (erase) and "F" (find) buttons beside the fields they read or fill, moving values
// between the program and a script through the clipboard's plain text.
#pragma once

#include "platform/clipboard.h"
#include "platform/desktop.h"
#include "records/colour_lookup_page.h"
#include "records/custom_colour_panel.h"
#include "records/grab_adjustment.h"
#include "sampling/colour_readout.h"
#include "windows/crosshair_pick.h"
#include "windows/window_list.h"

namespace pelmora {

// Caption and tool tip of each button, by index: the tip names the text form it moves.
struct ClipboardButtonText {
    const char* caption;
    const char* toolTip;
};
inline constexpr ClipboardButtonText kClipboardButtons[12] = {
    {"C", "复制坐标[x,y]以备粘贴使用！"},
    {"V", "粘贴来自剪切板坐标[x,y]内容！"},
    {"C", "复制颜色分量[r,g,b]以备粘贴使用！"},
    {"C", "复制颜色分量[h,s,l]以备粘贴使用！"},
    {"V", "粘贴来自剪切板坐标[x,y]内容！"},
    {"C", "复制16进制[\"颜色\"]以备粘贴使用！"},
    {"C", "复制16进制[\"颜色\"]以备粘贴使用！"},
    {"V", "粘贴来自剪切板句柄[hwnd]内容！"},
    {"F", "根据句柄查找标题和类名！"},
    {"C", "复制窗口标题[\"title\"]以备粘贴使用！"},
    {"V", "粘贴来自剪切板标题[\"title\"]内容！"},
    {"E", "清除起点[Qx,Qy]坐标！"},
};

// The fields the buttons work on, each owned by its panel.
struct TemplateFields {
    const ColourReadout& readoutPanel;  // 得x, 得y and 得16, copied
    ColourReadout& customPanel;         // 自x, 自y pasted into, 自16 copied
    const ColourLookupPage& lookup;     // 查10r … 查10l, copied
    GrabAdjustment& startPoint;         // 起x, 起y, pasted into and reset
    CrossHairPick& pick;                // Text2 (handle), Text1 (title), Text3 (class)
    WindowSearch& search;               // Text4, a title pasted into
};

class ClipboardTemplates {
public:
    // The desktop looks windows up for "F"; the clipboard carries the texts.
    ClipboardTemplates(Desktop& desktop, Clipboard& clipboard, TemplateFields fields)
        : desktop_(desktop), clipboard_(clipboard), fields_(fields) {}

    // What button index does; an index outside 0..11 does nothing.
    void Command11_Click(int index);

private:
    // Replaces what the clipboard holds with text.
    void Copy(const std::string& text);
    // The two pieces of the clipboard text around its only comma, without the spaces at
    // their ends, into x then y; any other number of commas changes nothing.
    void PastePoint(TextBox& x, TextBox& y);
    // The clipboard text's leading number into Text2.
    void PasteHandle();
    // The clipboard text into Text4 as it is, quotes and all (the search drops them).
    void PasteTitle();
    // Title and class of the window whose handle Text2 holds into Text1 and Text3.
    void FindWindowTexts();

    Desktop& desktop_;
    Clipboard& clipboard_;
    TemplateFields fields_;
};

}  // namespace pelmora
