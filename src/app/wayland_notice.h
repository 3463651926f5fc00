// SPDX-License-Identifier: MIT
// The notice a Wayland session gets: there the program runs through XWayland and sees only
// other X11 programs, which it says once the window shows, in a box with a "不再提示" check
// box. Ticking it silences the notice for good, kept in the settings file's section
// "Wayland" (key "ShowNotice", value "0"), which no other part of the file touches.
#pragma once

#include <string>

#include "platform/dialogs.h"
#include "settings/profile.h"

namespace pelmora {

inline constexpr const char* kWaylandNoticeText =
    "当前是 Wayland 会话，Pelmora 通过 XWayland 运行，只能看到其他 X11 程序。\n\n"
    "在这里无法读取：Wayland 程序的像素（显示为黑色）、窗口、标题和类名；"
    "指针在 XWayland 窗口以外时的位置；Wayland 程序获得焦点时按下的全局热键。\n\n"
    "要使用全部功能，请注销，在登录界面选择 X11 会话，例如“GNOME on Xorg”或“Plasma (X11)”，然后重新登录。";
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
