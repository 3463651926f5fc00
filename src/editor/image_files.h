// SPDX-License-Identifier: MIT
// Images into and out of the editor: the file buttons 菜单按钮 (open a bitmap file, save the
// working image as one, take the whole screen, paste the clipboard's picture) and bitmap
// files dropped from a file manager. A file that cannot be read or written gives one short
// message naming it and the reason, and leaves the editor as it was.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/drawing_tools.h"
#include "editor/editor_canvas.h"
#include "editor/selection_box.h"
#include "platform/controls.h"
#include "platform/platform.h"

namespace pelmora {

// The most pixels an image brought into the editor may have (4096 x 4096): the editor keeps
// up to nine copies of it (display, working image, colour-select copy, six history slots).
inline constexpr std::int64_t kLargestEditorPixels = std::int64_t{1} << 24;

// The save dialog's name with ".bmp" added, then every ".bmp.bmp" made ".bmp" (a → a.bmp,
// a.bmp → a.bmp, a.BMP → a.BMP.bmp, a.bmp.bmp → a.bmp.bmp).
std::string BitmapFileName(const std::string& chosen);

// A dropped file is opened when the last three letters of its name are "bmp" in any case.
bool NamesBitmap(const std::string& name);

class ImageFiles {
public:
    // screen is the primary screen as measured at start-up.
    ImageFiles(Platform platform, ControlHost& window, EditorCanvas& canvas, SelectionBox& selection,
               DrawingTools& tools, const ScreenRegion& screen);

    // The file buttons in the column right of the viewport; drops on the display and on
    // the viewport.
    void Place(ControlHost& host, Frame& page);

    // 0 open, 1 save, 2 take the screen, 3 paste; any other index does nothing.
    void 菜单按钮_Click(int index);
    // Files dropped on the display or the viewport: the first one is opened when it names
    // a bitmap; a drop without files is told.
    void 显示图像_OLEDragDrop(const std::vector<std::string>& files);

    std::array<CommandButton, 4> 菜单按钮;  // the file buttons: open, save, take the screen, paste

private:
    // The bitmap file the user chooses becomes the working image.
    void Open();
    // The working image into the bitmap file the user names (".bmp" added).
    void Save();
    // The whole primary screen, with the window hidden meanwhile, becomes the working image.
    void TakeScreen();
    // The clipboard's picture, when it holds one, becomes the working image.
    void Paste();
    // The picture in the bitmap file at path, or nothing after telling the user why not.
    std::optional<Surface> ReadBitmapFile(const std::string& path);
    // An opened or dropped picture becomes the working image, shown at 1:1.
    void ShowOpened(Surface picture);
    // A taken screen or pasted picture becomes the working image and its copy, shown at
    // 1:1; the selection goes.
    void ShowTaken(Surface picture);
    // What every new picture, already shown at 1:1, ends with: the scroll ranges fitted, no
    // cut under way, the cut tool, and the picture stored in the history.
    void StartOver(bool resetSelection);

    Platform platform_;
    ControlHost& window_;
    EditorCanvas& canvas_;
    SelectionBox& selection_;
    DrawingTools& tools_;
    const ScreenRegion& screen_;  // the primary screen as measured at start-up
};

}  // namespace pelmora
