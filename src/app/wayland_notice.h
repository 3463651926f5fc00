// SPDX-License-Identifier: MIT
// The notice a Wayland session gets: there the program runs through XWayland and sees only
// other X11 programs, which it says once the window shows, in a box with a "不再提示" check
// box, with what still works there (pelmora-cli and the Python module through the desktop
// portal) and an X11 session as a choice only where the login screen still offers one.
// Ticking it silences the notice for good, kept in the settings file's section "Wayland"
// (key "ShowNotice", value "0"), which no other part of the file touches.
#pragma once

#include <string>

#include "platform/dialogs.h"
#include "settings/profile.h"

namespace pelmora {

inline constexpr const char* kWaylandNoticeText =
    "当前是 Wayland 会话，Pelmora 通过 XWayland 运行，只能看到其他 X11 程序。\n\n"
    "在这里无法读取：Wayland 程序的像素（显示为黑色）、窗口、标题和类名；"
    "指针在 XWayland 窗口以外时的位置；Wayland 程序获得焦点时按下的全局热键。\n\n"
    "仍然可用：pelmora-cli 和 Python 模块 pelmora 通过桌面门户读取整个屏幕的像素"
    "（取色、找色、找图、找点、截图和等待）。指针位置、窗口和光标，Wayland 不告诉任何程序。\n\n"
    "如果登录界面还提供 X11 会话，例如“GNOME on Xorg”或“Plasma (X11)”，"
    "选择它即可使用全部功能；较新的桌面已不再提供。";
inline constexpr const char* kWaylandNoticeCheckBox = "不再提示";

class WaylandNotice {
public:
    explicit WaylandNotice(Dialogs& dialogs) : dialogs_(dialogs) {}

    // Start-up: whether the user silenced the notice, from the settings file read.
    void Load(const SettingsFile& settings);
    // Once the window shows: in a Wayland session and unless silenced, the box; a tick in
    // its check box silences the notice and is written into settings at once, so that a
    // program killed later does not ask again.
    void Show(bool waylandSession, const SettingsFile& settings);
    // Shut-down: a silenced notice stays silenced in the file written, which may be a new
    // per-user file while start-up read the one beside the program.
    void Save(const SettingsFile& settings) const;

private:
    Dialogs& dialogs_;
    bool silenced_ = false;
};

}  // namespace pelmora
