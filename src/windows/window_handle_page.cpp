// SPDX-License-Identifier: MIT
#include "windows/window_handle_page.h"

namespace pelmora {

WindowHandlePage::WindowHandlePage(Desktop& desktop, Clipboard& clipboard, ControlHost& window,
                                   Control& focusAfterSwitch)
    : pick(desktop, window, focusAfterSwitch),
      search(desktop),
      enumeration(desktop, clipboard),
      focusAfterSwitch_(focusAfterSwitch) {}

void WindowHandlePage::Place(ControlHost& host, Frame& page) {
    const char* captions[3] = {"拾取", "搜索", "遍历"};
    for (int i = 0; i < 3; ++i) {
        句柄选项[i].Place(host, &page, "句柄选项", i, {6, 16 + i * 18, 36, 18});
        句柄选项[i].SetCaption(captions[i]);
        句柄选项[i].SetGraphical(true);
        句柄选页[i].Place(host, &page, "句柄选页", i, {46, 12, 255, 59});
        句柄选页[i].SetVisible(i == 0);
    }
    句柄选项[0].Select();
    for (int i = 0; i < 3; ++i) 句柄选项[i].onClick = [this, i] { 句柄选项_Click(i); };

    pick.Place(host, 句柄选页[0]);
    search.Place(host, 句柄选页[1]);
    enumeration.Place(host, 句柄选页[2]);
}

void WindowHandlePage::句柄选项_Click(int index) {
    for (Frame& subPage : 句柄选页) subPage.SetVisible(false);
    句柄选页[static_cast<std::size_t>(index)].SetVisible(true);
    focusAfterSwitch_.SetFocus();
}

}  // namespace pelmora
