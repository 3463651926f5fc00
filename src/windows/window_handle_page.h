// SPDX-License-Identifier: MIT
// The window-handle page, Frame2(2) "抓窗口句柄": three sub-pages, pick, search and
// enumerate, chosen by the push buttons 句柄选项.
#pragma once

#include <array>

#include "platform/clipboard.h"
#include "platform/controls.h"
#include "platform/desktop.h"
#include "windows/crosshair_pick.h"
#include "windows/window_list.h"

namespace pelmora {

class WindowHandlePage {
public:
    // focusAfterSwitch takes the keyboard focus after a sub-page switch (the sampling switch).
    WindowHandlePage(Desktop& desktop, Clipboard& clipboard, ControlHost& window, Control& focusAfterSwitch);

    // The sub-pages and their controls on page.
    void Place(ControlHost& host, Frame& page);

    // Only 句柄选页(index) shows; the focus goes to focusAfterSwitch.
    void 句柄选项_Click(int index);
    // The tick's step: the pick sub-page's automatic read-out at the pointer's position.
    void AutomaticReadOut(ScreenPoint pointer) { pick.AutomaticReadOut(句柄选页[0], pointer); }

    std::array<OptionButton, 3> 句柄选项;  // "拾取" (pick), "搜索" (search), "遍历" (enumerate)
    std::array<Frame, 3> 句柄选页;         // the sub-pages' frames, in that order
    CrossHairPick pick;                    // on 句柄选页(0)
    WindowSearch search;                   // on 句柄选页(1)
    WindowEnumeration enumeration;         // on 句柄选页(2)

private:
    Control& focusAfterSwitch_;
};

}  // namespace pelmora
