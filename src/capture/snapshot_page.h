// SPDX-License-Identifier: MIT
// The snapshot page, Frame2(3): saves pictures of the screen, or of a set rectangle, as
// bitmap files named after the moment they were taken, from its button or from the Print
// Screen key anywhere on the desktop. The folder and whether the cursor is drawn in are
// kept in the settings file.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "hotkeys/set_hotkey.h"
#include "platform/controls.h"
#include "platform/platform.h"

namespace pelmora {

class SnapshotPage {
public:
    // screen is the primary screen as measured at start-up.
    SnapshotPage(Platform platform, ControlHost& window, HotkeyHook& hotkeys, const ScreenRegion& screen);

    // The folder row, the rectangle row and the two options on page.
    void Place(ControlHost& host, Frame& page);

    // A snapshot with the window hidden meanwhile; a problem shows in a message box.
    void 屏幕截图按钮_Click();
    // The folder picker; a chosen folder goes into 路径文本框.
    void 保存图像路径_Click();
    // Checked: Print Screen registered as hotkey 11; unchecked: released.
    void Check6_Click();
    // Hotkey 11 while Check6 is checked: a snapshot with the window left as it is, which
    // also goes on the clipboard. Problems go to stderr, since another program is in front.
    void PrintScreen();

    // The chosen folder's path, or "" when the picker was cancelled. An empty title asks
    // for the default one.
    std::string BrowseForFolder(const std::string& title);

    Label 路径标签;                 // "保存路径："
    TextBox 路径文本框;             // the snapshot folder
    CommandButton 保存图像路径;     // "路径": choose the folder
    CommandButton 屏幕截图按钮;     // "截图": take a snapshot
    CheckBox Check5;                // take the rectangle of 范围 only
    std::array<Label, 4> 范围标签;  // "L", "T", "R", "B"
    std::array<TextBox, 4> 范围;    // left, top, width, height
    CheckBox Check6;                // Print Screen saves snapshots
    CheckBox Check7;                // 包括光标图像

private:
    struct Snapshot {
        std::optional<Surface> picture;  // the grab, when there was one
        std::string problem;             // why nothing was saved, for the user; "" when saved
    };
    // The button hides the window and needs the folder; Print Screen, pressed in another
    // program, does neither and takes the picture even when the file cannot be saved.
    enum class Trigger { Button, PrintScreen };
    // Takes and saves one snapshot: the folder made when missing, the stamp taken, the
    // window hidden for the button, the wait, the grab, the file, the window shown again.
    Snapshot SaveSnapshot(Trigger trigger);
    // The rectangle to grab: the range fields when Check5 is checked, else the primary screen.
    std::optional<std::array<std::int32_t, 4>> Area();
    // folder/stamp.bmp, or folder/stamp-1.bmp, -2 … when that name is taken.
    std::string FreeFileName(const std::string& folder, const std::string& stamp);

    Platform platform_;
    ControlHost& window_;
    HotkeyHook& hotkeys_;
    const ScreenRegion& screen_;
};

// The local time as "YYYYMMDDhhmmss".
std::string TimeStamp(const LocalTime& time);

}  // namespace pelmora
