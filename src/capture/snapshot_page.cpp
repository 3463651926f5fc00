// SPDX-License-Identifier: MIT
#include "capture/snapshot_page.h"

#include <cstdio>

#include "base/number_text.h"
#include "capture/bitmap_file.h"
#include "capture/screen_grab.h"
#include "platform/delay.h"

namespace pelmora {

namespace {
constexpr const char* kDefaultFolderTitle = "选择驱动器和目录";
constexpr int kPrintScreenHotkey = 11;
constexpr std::uint32_t kHideWaitMs = 250;
}  // namespace

std::string TimeStamp(const LocalTime& time) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d%02d", time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    return stamp;
}

SnapshotPage::SnapshotPage(Platform platform, ControlHost& window, HotkeyHook& hotkeys, const ScreenRegion& screen)
    : platform_(platform), window_(window), hotkeys_(hotkeys), screen_(screen) {}

void SnapshotPage::Place(ControlHost& host, Frame& page) {
    路径标签.Place(host, &page, "路径标签", -1, {8, 19, 56, 14});
    路径标签.SetCaption("保存路径：");
    路径文本框.Place(host, &page, "路径文本框", -1, {64, 17, 170, 18});
    路径文本框.SetLabelledBy(路径标签);
    保存图像路径.Place(host, &page, "保存图像路径", -1, {238, 16, 28, 20});
    保存图像路径.SetCaption("路径");
    保存图像路径.onClick = [this] { 保存图像路径_Click(); };
    屏幕截图按钮.Place(host, &page, "屏幕截图按钮", -1, {268, 16, 30, 20});
    屏幕截图按钮.SetCaption("截图");
    屏幕截图按钮.SetToolTip("按键盘[Print Screen]截图键即可自动截图保存！");
    屏幕截图按钮.onClick = [this] { 屏幕截图按钮_Click(); };

    Check5.Place(host, &page, "Check5", -1, {8, 36, 50, 17});
    Check5.SetCaption("范围");
    const char* const edges[4] = {"L", "T", "R", "B"};
    const char* const initial[4] = {"0", "0", "800", "600"};
    for (int i = 0; i < 4; ++i) {
        范围标签[i].Place(host, &page, "范围标签", i, {60 + i * 60, 38, 12, 14});
        范围标签[i].SetCaption(edges[i]);
        范围[i].Place(host, &page, "范围", i, {72 + i * 60, 36, 44, 18});
        范围[i].SetText(initial[i]);
        范围[i].SetLabelledBy(范围标签[i]);
    }

    Check6.Place(host, &page, "Check6", -1, {8, 54, 70, 16});
    Check6.SetCaption("保存到");
    Check6.onClick = [this] { Check6_Click(); };
    Check7.Place(host, &page, "Check7", -1, {84, 54, 120, 16});
    Check7.SetCaption("包括光标图像");
}

void SnapshotPage::屏幕截图按钮_Click() {
    const Snapshot snapshot = SaveSnapshot(Trigger::Button);
    if (!snapshot.problem.empty()) platform_.dialogs.ShowMessage(snapshot.problem);
}

void SnapshotPage::PrintScreen() {
    if (Check6.Value() != 1) return;
    const Snapshot snapshot = SaveSnapshot(Trigger::PrintScreen);
    if (!snapshot.problem.empty()) std::fprintf(stderr, "pelmora: %s\n", snapshot.problem.c_str());
    // The picture goes on the clipboard even when the file could not be written.
    if (!snapshot.picture) return;
    platform_.clipboard.Clear();
    platform_.clipboard.SetPicture(*snapshot.picture);
}

void SnapshotPage::保存图像路径_Click() {
    const std::string folder = BrowseForFolder("");
    if (!folder.empty()) 路径文本框.SetText(folder);
}

void SnapshotPage::Check6_Click() {
    if (Check6.Value() == 1) hotkeys_.SetHotKey(kPrintScreenHotkey, "44", HotkeyAction::Add);
    else hotkeys_.SetHotKey(kPrintScreenHotkey, "", HotkeyAction::Del);
}

std::string SnapshotPage::BrowseForFolder(const std::string& title) {
    return platform_.dialogs.BrowseForFolder(title.empty() ? kDefaultFolderTitle : title);
}

SnapshotPage::Snapshot SnapshotPage::SaveSnapshot(Trigger trigger) {
    const bool hideWindow = trigger == Trigger::Button;
    FileSystem& files = platform_.files;
    const std::string folder = 路径文本框.Text();
    const bool folderThere = files.EntryExists(folder) || files.CreateFolder(folder);
    const std::string noFolder = "无法创建文件夹：" + folder;
    if (!folderThere && trigger == Trigger::Button) return {std::nullopt, noFolder};
    const std::string stamp = TimeStamp(platform_.clock.Now());
    if (hideWindow) window_.SetWindowVisible(false);
    DelayMs(platform_.clock, platform_.pump, kHideWaitMs);
    Snapshot snapshot;
    if (const auto area = Area())
        snapshot.picture =
            GrabScreenArea(platform_.desktop, (*area)[0], (*area)[1], (*area)[2], (*area)[3], Check7.Value() == 1);
    if (!snapshot.picture) {
        snapshot.problem = "截图范围无效，没有保存截图。";
    } else if (!folderThere) {
        snapshot.problem = noFolder;
    } else if (!files.WriteFileWhole(FreeFileName(folder, stamp), EncodeBitmap(*snapshot.picture))) {
        snapshot.problem = "无法在此文件夹保存截图：" + folder;
    }
    if (hideWindow) window_.SetWindowVisible(true);
    return snapshot;
}

std::optional<std::array<std::int32_t, 4>> SnapshotPage::Area() {
    if (Check5.Value() != 1)
        return std::array<std::int32_t, 4>{screen_.left, screen_.top, screen_.width, screen_.height};
    std::array<std::int32_t, 4> area{};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::optional<std::int32_t> value = ParseStrictInteger(范围[i].Text());
        if (!value) return std::nullopt;
        area[i] = *value;
    }
    return area;
}

std::string SnapshotPage::FreeFileName(const std::string& folder, const std::string& stamp) {
    const std::string base = folder + platform_.files.Separator() + stamp;
    std::string name = base + ".bmp";
    for (int n = 1; platform_.files.EntryExists(name); ++n) name = base + "-" + std::to_string(n) + ".bmp";
    return name;
}

}  // namespace pelmora
