// SPDX-License-Identifier: MIT
#include "app/form1.h"

#include "settings/profile.h"
#include "settings/settings_location.h"
#include "settings/storable_path.h"
#include "base/skip_failing.h"
#include "base/number_text.h"
#include "base/rounding.h"
#include "sampling/screen_reading.h"

namespace pelmora {

Form1::Form1(Platform platform)
    : customPanel(platform.desktop, adjustment),
      sampling(platform.desktop, readoutPanel),
      pointSlots(platform.desktop, adjustment),
      magnifier(platform.desktop),
      cursorPage(platform.desktop),
      windowHandlePage(platform.desktop, platform.clipboard, *this, sampling.Check1),
      snapshotPage(platform, *this, hotkeyHook, PrimaryScreen),
      editor(platform, *this, PrimaryScreen),
      clipboardTemplates(
          platform.desktop, platform.clipboard,
          {readoutPanel, customPanel.fields, lookupPage, adjustment, windowHandlePage.pick, windowHandlePage.search}),
      hotkeyDispatch(platform.desktop, sampling, pointSlots, cursorPage, snapshotPage),
      hotkeyHook(platform.hotkeys, [this](int id) { hotkeyDispatch.HotKeyWndProc(id); }),
      waylandNotice(platform.dialogs),
      platform_(platform) {
    PlaceRegions();
    PlacePages();
    PlaceClipboardButtons();
    sampling.Timer1.onTimer = [this] { Timer1_Timer(); };
}

void Form1::Form_Load() {
    cursorPage.Reset();
    const SettingsLocation location = FindSettings(platform_.files);
    SettingsPath = location.written;
    LoadSettings(location.read, DefaultSnapshotFolder(location.besideProgram));
    PrimaryScreen = GetPrimaryScreen(platform_.desktop);
    editor.Reset();
    sampling.SamplingState = kSamplingStopped;
    RegisterHotkeys();
}

void Form1::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    sampling.Timer1.SetEnabled(false);
    SaveSettings();
    ReleaseHotkeys();
}

void Form1::ShowSessionNotice(bool waylandSession) { waylandNotice.Show(waylandSession, Settings()); }

void Form1::RegisterHotkeys() {
    const auto add = [this](int id, const std::string& keyText) {
        hotkeyHook.SetHotKey(id, keyText, HotkeyAction::Add);
    };
    add(kHotkeyStartStop, "Alt,192");
    for (int slot = 0; slot < kSlotCount; ++slot)  // Ctrl+Alt+1 .. Ctrl+Alt+9, then Ctrl+Alt+0
        add(kHotkeyFirstSlot + slot, "Ctrl+Alt," + std::to_string(slot == 9 ? 48 : 49 + slot));
    add(kHotkeyFirstCursor, "Ctrl+Alt,81");
    add(kHotkeyFirstCursor + 1, "Ctrl+Alt,87");
    add(kHotkeyFirstCursor + 2, "Ctrl+Alt,69");
    add(kHotkeyUp, "38");
    add(kHotkeyLeft, "37");
    add(kHotkeyDown, "40");
    add(kHotkeyRight, "39");
}

void Form1::ReleaseHotkeys() {
    for (int id = kHotkeyStartStop; id <= kHotkeyRight; ++id) {
        // Print Screen is registered only while its snapshot option is on.
        if (id == kHotkeyPrintScreen && !hotkeyHook.Registered(id)) continue;
        hotkeyHook.SetHotKey(id, "", HotkeyAction::Del);
    }
}

std::string Form1::DefaultSnapshotFolder(bool besideProgram) {
    FileSystem& files = platform_.files;
    if (besideProgram) return files.ExecutableDirectory() + files.Separator() + "Snap";
    return files.UserPicturesDirectory() + files.Separator() + "Pelmora";
}

SettingsFile Form1::Settings() const { return {platform_.files, platform_.encoding, SettingsPath}; }

void Form1::LoadSettings(const std::string& path, const std::string& defaultSnapshotFolder) {
    TextBox& folder = snapshotPage.路径文本框;
    if (!platform_.files.FileExists(path)) {
        folder.SetText(defaultSnapshotFolder);
        return;
    }
    const SettingsFile settings{platform_.files, platform_.encoding, path};
    for (int i = 0; i < kSlotCount; ++i) pointSlots.LoadSlot(i, settings);
    waylandNotice.Load(settings);
    const std::string storedFolder = ReadSetting(settings, "Bmp", "BmpFilePath");
    folder.SetText(storedFolder.empty() ? defaultSnapshotFolder : storedFolder);
    SkipIfFailing([&] {
        const std::string stored = ReadSetting(settings, "Bmp", "MousePoint");
        const std::int16_t value = Require(ToInt16(Require(ParseStrictNumber(stored))));
        if (value < 0 || value > 2) throw StatementFailed();  // not a check box state
        snapshotPage.Check7.SetValue(value);
    });
}

void Form1::SaveSettings() {
    const SettingsFile settings = Settings();
    for (int i = 0; i < kSlotCount; ++i) pointSlots.SaveSlot(i, settings);
    // Writing never fails loudly: a file that cannot be written keeps its old contents.
    // A folder whose name the file's encoding cannot hold goes in by its short name, or
    // not at all (the file keeps the folder it had): it would read back as one that does
    // not exist.
    if (const auto folder = StorablePath(platform_.files, platform_.encoding, snapshotPage.路径文本框.Text()))
        WriteSetting(settings, "Bmp", "BmpFilePath", *folder);
    WriteSetting(settings, "Bmp", "MousePoint", std::to_string(snapshotPage.Check7.Value()));
    waylandNotice.Save(settings);
}

void Form1::Option2_Click(int index) {
    for (Frame& page : Frame2) page.SetVisible(false);
    Frame2[static_cast<std::size_t>(index)].SetVisible(true);
    sampling.Check1.SetFocus();
}

void Form1::Option3_Click(int index) {
    for (Frame& panel : 颜色坐标) panel.SetVisible(false);
    颜色坐标[static_cast<std::size_t>(index)].SetVisible(true);
    sampling.Check1.SetFocus();
}

void Form1::Label7_DblClick() { platform_.shell.Open(std::string("mailto:") + kSupportAddress); }

void Form1::Timer1_Timer() {
    const ScreenPoint pointer = sampling.ReadPointer();
    const GrabPoint grab = adjustment.AdjustGrabPoint(pointer);
    sampling.ShowSample(grab.sampled, grab.reportedX, grab.reportedY);
    magnifier.DrawMagnifier(pointer.x, pointer.y);
    if (Option2[1].Value()) cursorPage.Command7_Click();
    windowHandlePage.AutomaticReadOut(pointer);
}

}  // namespace pelmora
