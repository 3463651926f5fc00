// SPDX-License-Identifier: MIT
#include "editor/image_files.h"

#include <algorithm>
#include <cctype>

#include "capture/bitmap_file.h"
#include "capture/bitmap_file_reading.h"
#include "capture/screen_grab.h"
#include "editor/button_column.h"
#include "editor/editor_pictures.h"
#include "platform/delay.h"

namespace pelmora {

namespace {
constexpr const char* kOpenTitle = "打开文件";
constexpr const char* kOpenFilter = "24位位图 (*.Bmp)";
constexpr const char* kSaveTitle = "保存文件";
constexpr const char* kSaveFilter = "位图文件(*.bmp)";
constexpr std::uint32_t kHideWaitMs = 250;
constexpr const char* kTooLarge = "图像太大，最多 4096 x 4096 像素";

std::string CannotOpen(const std::string& path, const std::string& reason) {
    return "无法打开图像文件 " + path + "：" + reason;
}

bool TooLargeForEditor(const Surface& picture) {
    return static_cast<std::int64_t>(picture.Width()) * picture.Height() > kLargestEditorPixels;
}
}  // namespace

std::string BitmapFileName(const std::string& chosen) {
    const std::string doubled = ".bmp.bmp", single = ".bmp";
    const std::string path = chosen + single;
    std::string result;
    std::size_t at = 0;
    for (std::size_t found; (found = path.find(doubled, at)) != std::string::npos; at = found + doubled.size())
        result += path.substr(at, found - at) + single;
    return result + path.substr(at);
}

bool NamesBitmap(const std::string& name) {
    if (name.size() < 3) return false;
    std::string last = name.substr(name.size() - 3);
    std::transform(last.begin(), last.end(), last.begin(), [](unsigned char c) { return std::tolower(c); });
    return last == "bmp";
}

ImageFiles::ImageFiles(Platform platform, ControlHost& window, EditorCanvas& canvas, SelectionBox& selection,
                       DrawingTools& tools, const ScreenRegion& screen)
    : platform_(platform), window_(window), canvas_(canvas), selection_(selection), tools_(tools), screen_(screen) {}

void ImageFiles::Place(ControlHost& host, Frame& page) {
    PlaceButtonColumn(host, page, "菜单按钮", 菜单按钮, 384, 16, FileButtonPicture,
                      {"打开位图文件", "保存为位图文件", "截取整个屏幕", "粘贴剪贴板里的图像"},
                      [this](int i) { 菜单按钮_Click(i); });
    const auto drop = [this](const std::vector<std::string>& files) { 显示图像_OLEDragDrop(files); };
    canvas_.显示图像.onDropFiles = drop;
    canvas_.背景图像框架.onDropFiles = drop;
}

void ImageFiles::菜单按钮_Click(int index) {
    switch (index) {
        case 0: Open(); break;
        case 1: Save(); break;
        case 2: TakeScreen(); break;
        case 3: Paste(); break;
        default: break;
    }
}

std::optional<Surface> ImageFiles::ReadBitmapFile(const std::string& path) {
    LoadedBitmap loaded = LoadBitmapFile(
        [&](std::uint64_t maxBytes) { return platform_.files.ReadFileStart(path, maxBytes); }, kLargestEditorPixels);
    std::string reason;
    switch (loaded.problem) {
        case LoadedBitmap::Problem::kNone: return std::move(loaded.picture);
        case LoadedBitmap::Problem::kNotAFile: reason = "不是文件，或者文件不存在"; break;
        case LoadedBitmap::Problem::kUnreadable: reason = "无法读取文件"; break;
        case LoadedBitmap::Problem::kTooLarge: reason = kTooLarge; break;
        case LoadedBitmap::Problem::kNotReadable: reason = loaded.error; break;
    }
    platform_.dialogs.ShowMessage(CannotOpen(path, reason));
    return std::nullopt;
}

void ImageFiles::ShowOpened(Surface picture) {
    canvas_.ShowActualSize(picture, picture.Width(), picture.Height());
    canvas_.结果图像 = std::move(picture);
    StartOver(false);
}

void ImageFiles::ShowTaken(Surface picture) {
    canvas_.ShowActualSize(picture, picture.Width(), picture.Height());
    canvas_.结果图像 = picture;
    canvas_.成品图像 = std::move(picture);
    StartOver(true);
}

void ImageFiles::StartOver(bool resetSelection) {
    canvas_.UpdateScrollRanges();
    if (resetSelection) selection_.Reset();
    canvas_.state.ResetCut();
    tools_.确认.SetVisible(false);
    tools_.控制[0].Select();
    canvas_.state.SetToolMode(ToolMode::剪图);
    canvas_.PushHistory();
}

void ImageFiles::Open() {
    const std::string path = platform_.dialogs.ChooseFileToOpen(kOpenTitle, kOpenFilter);
    if (path.empty()) return;
    if (std::optional<Surface> picture = ReadBitmapFile(path)) ShowOpened(std::move(*picture));
}

void ImageFiles::显示图像_OLEDragDrop(const std::vector<std::string>& files) {
    if (files.empty()) {
        platform_.dialogs.ShowMessage("拖放的内容里没有文件，只能拖放位图文件。");
        return;
    }
    const std::string& name = files.front();
    if (!NamesBitmap(name)) return;
    if (std::optional<Surface> picture = ReadBitmapFile(name)) ShowOpened(std::move(*picture));
}

void ImageFiles::Save() {
    const std::string chosen = platform_.dialogs.ChooseFileToSave(kSaveTitle, kSaveFilter);
    if (chosen.empty()) return;
    const std::string path = BitmapFileName(chosen);
    canvas_.成品图像 = canvas_.结果图像;
    if (!platform_.files.WriteFileWhole(path, EncodeBitmap(canvas_.成品图像)))
        platform_.dialogs.ShowMessage("无法保存图像文件 " + path + "：无法在这里写入文件");
}

void ImageFiles::TakeScreen() {
    window_.SetWindowVisible(false);
    DelayMs(platform_.clock, platform_.pump, kHideWaitMs);
    std::optional<Surface> screen =
        GrabScreenArea(platform_.desktop, screen_.left, screen_.top, screen_.width, screen_.height, false);
    window_.SetWindowVisible(true);
    if (!screen) {
        platform_.dialogs.ShowMessage("无法读取屏幕，图像没有改变。");
        return;
    }
    ShowTaken(std::move(*screen));
}

void ImageFiles::Paste() {
    std::optional<Surface> picture = platform_.clipboard.Picture();
    if (!picture) return;
    if (TooLargeForEditor(*picture)) {
        platform_.dialogs.ShowMessage(std::string("无法粘贴剪贴板里的图像：") + kTooLarge);
        return;
    }
    ShowTaken(std::move(*picture));
}

}  // namespace pelmora
