// SPDX-License-Identifier: MIT
// The search and enumerate sub-pages of the window-handle page: every titled top-level
// window, or those whose title contains a text, as lines a script writer copies handles
// from.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/controls.h"
#include "platform/desktop.h"

namespace pelmora {

// Every titled window whose title contains text (compared exactly), in Z order from the
// top; double quotes in text are dropped first. The rule of the title search.
std::vector<TopLevelWindow> WindowsTitled(Desktop& desktop, std::string text);

// "[n]handle\r\n" for every titled window whose title contains text (compared exactly),
// in Z order from the top, n counting matches from 1; "" when nothing matches. Double
// quotes in text are dropped first, so a copied "title" is searched for as it is.
std::string SearchWindowsByTitle(Desktop& desktop, std::string text);

// The first window SearchWindowsByTitle lists for text; 0 when it lists none.
WindowHandle FirstWindowTitled(Desktop& desktop, std::string text);

// "[nnn]handle=title" for every titled window in Z order from the top; nnn counts from
// 001 and always has three digits (..., 999, 000, 001, ...).
std::vector<std::string> EnumerateTitledWindows(Desktop& desktop);

// The search sub-page, 句柄选页(1).
class WindowSearch {
public:
    explicit WindowSearch(Desktop& desktop) : desktop_(desktop) {}
    // The controls on subPage, with room for a clipboard button beside Text4.
    void Place(ControlHost& host, Frame& subPage);
    // Searches for Text4 without its double quotes (a pasted "title" works as it is).
    void Command8_Click();

    std::array<Label, 2> 搜索标签;  // "窗口标题：", "支持模糊搜索"
    TextBox Text4;                  // the title text searched for
    CommandButton Command8;         // "开始": search
    TextBox Text5;                  // the result, read-only: "[n]handle" lines

private:
    Desktop& desktop_;
};

// The enumerate sub-page, 句柄选页(2).
class WindowEnumeration {
public:
    WindowEnumeration(Desktop& desktop, Clipboard& clipboard) : desktop_(desktop), clipboard_(clipboard) {}
    // The list and its two buttons on subPage.
    void Place(ControlHost& host, Frame& subPage);
    // List1 filled with every titled top-level window.
    void Command9_Click();
    // The handle of the selected line onto the clipboard.
    void List1_DblClick();
    // Every line onto the clipboard, joined by CR LF; only for two lines or more.
    void Command10_Click();

    ListBox List1;            // "[nnn]handle=title" lines, top window first
    CommandButton Command9;   // "开始": list the windows
    CommandButton Command10;  // "复制": copy the whole list

private:
    Desktop& desktop_;
    Clipboard& clipboard_;
};

}  // namespace pelmora
