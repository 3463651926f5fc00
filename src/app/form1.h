// SPDX-License-Identifier: MIT
// Form1, the main window: the composition root that owns every panel, places the
// regions and pages, and runs start-up, shut-down, the page switch and the mail link.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "capture/snapshot_page.h"
#include "cursor/cursor_page.h"
#include "editor/editor_page.h"
#include "app/hotkey_dispatch.h"
#include "base/version.h"
#include "app/wayland_notice.h"
#include "hotkeys/set_hotkey.h"
#include "platform/controls.h"
#include "platform/platform.h"
#include "records/clipboard_templates.h"
#include "records/colour_lookup_page.h"
#include "records/custom_colour_panel.h"
#include "records/grab_adjustment.h"
#include "records/point_slots.h"
#include "sampling/colour_readout.h"
#include "sampling/live_sampling.h"
#include "sampling/magnifier.h"
#include "settings/profile.h"
#include "windows/window_handle_page.h"

namespace pelmora {

// The title bar's text: the product name, the version and "正式版" (release).
inline constexpr const char* kWindowCaption = "Pelmorav" PELMORA_VERSION_TEXT "正式版";
// The fixed client area in layout pixels; every geometry in the program is in these.
inline constexpr int kClientWidth = 445;
inline constexpr int kClientHeight = 313;
// The address behind Label7's mail link and on the support page.
inline constexpr const char* kSupportAddress = "support@pelmora.org";

class Form1 : public ControlHost {
public:
    explicit Form1(Platform platform);

    // Start-up: the settings read, the screen measured, the editor reset, the hotkeys registered.
    void Form_Load();
    // Shut-down: the timer stopped, the slots and snapshot settings saved, the hotkeys
    // released. Runs once; later calls (a second close, a signal after the window closed)
    // do nothing.
    void Form_Unload();
    // Whether shut-down has run.
    bool Unloaded() const { return unloaded_; }
    // Once the window shows, after start-up: in a Wayland session, what the program cannot
    // do there, unless the user silenced it.
    void ShowSessionNotice(bool waylandSession);

    // Page switch: only Frame2(index) shows; the focus goes to Check1.
    void Option2_Click(int index);
    // Colour panel switch: only 颜色坐标(index) shows; the focus goes to Check1.
    void Option3_Click(int index);
    // Opens a mailto: link to kSupportAddress.
    void Label7_DblClick();
    // One 100 ms poll: the get panel, the magnifier, the cursor code while its page is
    // open, the window under the pointer.
    void Timer1_Timer();

    std::string SettingsPath;  // the settings file written at shut-down
    // The primary monitor, measured at start-up: the screen that the snapshot page and the
    // editor take whole. Its top-left corner is (0, 0) on Windows, anywhere on the root on X11.
    ScreenRegion PrimaryScreen;
    const std::int32_t& ScreenWidth = PrimaryScreen.width;  // the primary screen's size
    const std::int32_t& ScreenHeight = PrimaryScreen.height;

    // Colour panels: Option3 switches the get panel 颜色坐标(0) and the custom panel 颜色坐标(1).
    PictureBox Picture2;                  // the borderless box that holds both panels
    std::array<OptionButton, 2> Option3;  // "抓坐标／颜色" (read-out), "查颜色" (custom point)
    std::array<Frame, 2> 颜色坐标;        // 0 the get panel, 1 the custom panel
    ColourReadout readoutPanel;           // the 得 fields
    CustomColourPanel customPanel;        // the 自 fields and Command2

    LiveSampling sampling;  // Check1, Label8, Label9, Timer1

    Frame Frame3;                             // the ten slots
    PointSlots pointSlots;                    // 坐标颜色 and 色块
    std::array<Frame, 5> Frame1;              // 0 start point, 2 offset, 4 magnifier
    Magnifier magnifier;                      // Picture1 with Line1 and pd
    GrabAdjustment adjustment;                // offset grabbing and the start point
    std::array<CommandButton, 12> Command11;  // the clipboard buttons, spread over the panels

    std::array<Frame, 6> Frame2;          // the pages
    ColourLookupPage lookupPage;          // on Frame2(0)
    CursorPage cursorPage;                // on Frame2(1)
    WindowHandlePage windowHandlePage;    // on Frame2(2)
    SnapshotPage snapshotPage;            // on Frame2(3)
    EditorPage editor;                    // on Frame2(4)
    std::array<OptionButton, 6> Option2;  // the page selector
    std::array<Label, 2> 支持文字;        // the text of the support page
    Label Label5;                         // index 6: the hotkey hint
    Label Label6;                         // the support line
    Label Label7;                         // the mail link

    ClipboardTemplates clipboardTemplates;  // what the Command11 buttons do
    HotkeyDispatch hotkeyDispatch;          // HotKeyWndProc: what each hotkey id does
    HotkeyHook hotkeyHook;                  // SetHotKey: registration and the window hook
    WaylandNotice waylandNotice;            // what a Wayland session cannot give

private:
    // The always-visible regions; the six pages with their selector row; the Command11
    // buttons beside their fields (form1_layout.cpp).
    void PlaceRegions();
    void PlacePages();
    void PlaceClipboardButtons();
    // The snapshot folder of a settings file without one: "Snap" beside the executable when
    // the settings are there, else "Pelmora" in the user's pictures folder.
    std::string DefaultSnapshotFolder(bool besideProgram);
    // The settings file at SettingsPath with the services that read and write it.
    SettingsFile Settings() const;
    // Start-up's settings steps from the file at path: the slots, the snapshot folder
    // (defaultSnapshotFolder when it has none, or when there is no file), Check7 and whether
    // the Wayland notice is silenced.
    void LoadSettings(const std::string& path, const std::string& defaultSnapshotFolder);
    // Shut-down's: the slots, the snapshot folder (when the file's encoding can hold it, by
    // its short name if need be), Check7 and a silenced Wayland notice into SettingsPath.
    void SaveSettings();

    // The start-up hotkeys, ids 0 to 10 and 12 to 18 (Print Screen, 11, follows Check6).
    void RegisterHotkeys();
    // Every hotkey id; 11 only while it is registered.
    void ReleaseHotkeys();

    Platform platform_;
    bool unloaded_ = false;  // shut-down has run
};

}  // namespace pelmora
