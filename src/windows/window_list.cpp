// SPDX-License-Identifier: MIT
#include "windows/window_list.h"

#include <algorithm>
#include <utility>

#include "sampling/colour_model.h"

namespace pelmora {

namespace {
// The titled windows of the walk, in its order; untitled ones are neither listed nor counted.
std::vector<TopLevelWindow> TitledWindows(Desktop& desktop) {
    std::vector<TopLevelWindow> windows = desktop.TopLevelWindows();
    std::erase_if(windows, [](const TopLevelWindow& window) { return window.title.empty(); });
    return windows;
}

// n written with exactly three digits: padded with "0", cut to its last three.
std::string ThreeDigits(std::size_t n) {
    const std::string digits = "00" + std::to_string(n);
    return digits.substr(digits.size() - 3);
}

}  // namespace

std::vector<TopLevelWindow> WindowsTitled(Desktop& desktop, std::string text) {
    std::erase(text, '"');
    std::vector<TopLevelWindow> windows = TitledWindows(desktop);
    std::erase_if(windows, [&](const TopLevelWindow& window) { return window.title.find(text) == std::string::npos; });
    return windows;
}

std::string SearchWindowsByTitle(Desktop& desktop, std::string text) {
    std::string result;
    std::size_t n = 1;
    for (const TopLevelWindow& window : WindowsTitled(desktop, std::move(text))) {
        result.append("[").append(std::to_string(n++)).append("]");
        result.append(std::to_string(window.handle)).append("\r\n");
    }
    return result;
}

WindowHandle FirstWindowTitled(Desktop& desktop, std::string text) {
    const std::vector<TopLevelWindow> windows = WindowsTitled(desktop, std::move(text));
    return windows.empty() ? 0 : windows.front().handle;
}

std::vector<std::string> EnumerateTitledWindows(Desktop& desktop) {
    std::vector<std::string> lines;
    std::size_t n = 1;
    for (const TopLevelWindow& window : TitledWindows(desktop))
        lines.push_back(std::string("[")
                            .append(ThreeDigits(n++))
                            .append("]")
                            .append(std::to_string(window.handle))
                            .append("=")
                            .append(window.title));
    return lines;
}

void WindowSearch::Place(ControlHost& host, Frame& subPage) {
    搜索标签[0].Place(host, &subPage, "搜索标签", 0, {4, 7, 58, 14});
    搜索标签[0].SetCaption("窗口标题：");
    Text4.Place(host, &subPage, "Text4", -1, {62, 5, 100, 17});
    Text4.SetLabelledBy(搜索标签[0]);
    搜索标签[1].Place(host, &subPage, "搜索标签", 1, {182, 7, 72, 14});
    搜索标签[1].SetCaption("支持模糊搜索");
    Text5.Place(host, &subPage, "Text5", -1, {4, 25, 204, 30});
    Text5.SetMultiLine(true);
    Text5.SetLocked(true);
    Text5.SetBackColor(kColourReadOnlyGrey);
    Command8.Place(host, &subPage, "Command8", -1, {212, 28, 38, 22});
    Command8.SetCaption("开始");
    Command8.onClick = [this] { Command8_Click(); };
}

void WindowSearch::Command8_Click() {
    if (Text4.Text().empty()) return;
    Text5.SetText(SearchWindowsByTitle(desktop_, Text4.Text()));
}

void WindowEnumeration::Place(ControlHost& host, Frame& subPage) {
    List1.Place(host, &subPage, "List1", -1, {4, 4, 200, 52});
    List1.SetBackColor(kColourReadOnlyGrey);
    List1.SetToolTip("双击复制选中行句柄！");
    List1.onDblClick = [this] { List1_DblClick(); };
    Command9.Place(host, &subPage, "Command9", -1, {210, 6, 40, 21});
    Command9.SetCaption("开始");
    Command9.onClick = [this] { Command9_Click(); };
    Command10.Place(host, &subPage, "Command10", -1, {210, 31, 40, 21});
    Command10.SetCaption("复制");
    Command10.onClick = [this] { Command10_Click(); };
}

void WindowEnumeration::Command9_Click() {
    List1.Clear();
    for (std::string& line : EnumerateTitledWindows(desktop_)) List1.AddItem(std::move(line));
}

void WindowEnumeration::List1_DblClick() {
    if (List1.ListIndex() < 0) return;
    clipboard_.Clear();
    const std::string& line = List1.Items()[static_cast<std::size_t>(List1.ListIndex())];
    const std::size_t bracket = line.find(']');
    const std::string rest = bracket == std::string::npos ? line : line.substr(bracket + 1);
    clipboard_.SetText(rest.substr(0, rest.find('=')));
}

void WindowEnumeration::Command10_Click() {
    if (List1.ListCount() < 2) return;
    Command10.SetEnabled(false);
    const std::vector<std::string>& lines = List1.Items();
    std::string all = lines.front();
    for (std::size_t i = 1; i < lines.size(); ++i) all += "\r\n" + lines[i];
    Command10.SetEnabled(true);
    clipboard_.Clear();
    clipboard_.SetText(all);
}

}  // namespace pelmora
