// SPDX-License-Identifier: MIT
// One child window per headless control: creation by kind, and the mirror of a control's
// state onto its window. Windows hold no state of their own that matters; what a window
// showed at its last sync (a list's lines, a button's picture) is kept beside it only to
// know what changed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/controls.h"
#include "backends/win32/win32_fonts.h"
#include "backends/win32/win32_scale.h"

namespace pelmora {

// The program's own window classes of frames and lines.
inline constexpr const wchar_t* kFrameWindowClass = L"PelmoraFrame";
inline constexpr const wchar_t* kLineWindowClass = L"PelmoraLine";

// The height of a combo box's open list, below the closed box.
inline constexpr int kComboListHeight = 160;

// Registers the program's own control classes (frame, line, picture, shape) and loads the
// common controls (tool tips) once for the process.
void RegisterControlClasses();

// What a control's window showed at its last sync, beyond what the window holds itself.
struct ControlWindowState {
    ControlWindowState() = default;
    ControlWindowState(const ControlWindowState&) = delete;
    ControlWindowState& operator=(const ControlWindowState&) = delete;
    ~ControlWindowState();

    std::vector<std::string> shownItems;  // a list's or combo box's lines
    bool pictureShown = false;            // a button's picture made for pictureRevision
    std::uint64_t pictureRevision = 0;
    int pictureDpi = 0;           // the dpi the button's picture was made for
    HICON icon = nullptr;         // a button's picture
    std::int32_t shownBack = -2;  // colours the window was last painted in
    std::int32_t shownFore = -2;
    bool thumbDragged = false;  // a scroll bar's thumb is being dragged
};

// A child window of the right class and styles for control (not for a timer), hidden,
// with its control id; its font and state come after.
HWND CreateControlWindow(const Control& control, HWND parent, int id);

// Gives a control's window its font of fonts, made at scale. A text box's text then starts
// one layout pixel inside its edges: the margins the system takes from the font are wider
// than the layout's narrowest fields have to spare (5 of 22 pixels with WenQuanYi Micro Hei
// under wine).
void SetControlFont(const Control& control, HWND window, const ViewFonts& fonts, LayoutScale scale);

// Mirrors every property of control onto its window: geometry (inside the border of a
// bordered picture) at scale, visibility, enabled state and what its kind shows.
void SyncControlWindow(const Control& control, HWND window, ControlWindowState& state, HFONT font, LayoutScale scale);

// One solid brush per colour, kept for the windows' lifetime.
class ColourBrushes {
public:
    ColourBrushes() = default;
    ColourBrushes(const ColourBrushes&) = delete;
    ColourBrushes& operator=(const ColourBrushes&) = delete;
    ~ColourBrushes();
    // The brush of colour, made on first use.
    HBRUSH Of(std::int32_t colour);

private:
    std::unordered_map<std::int32_t, HBRUSH> brushes_;
};

// The colour that shows behind a control whose back colour is -1: its container's (a
// picture's) back colour, else the dialog face.
std::int32_t ColourBehind(const Control& control);

// Answers a WM_CTLCOLOR* message for control's window: text and back colours into dc, and
// the brush of the background.
HBRUSH ControlColours(const Control& control, HDC dc, ColourBrushes& brushes);

// An icon (or, with cursor, a cursor with its hot spot clamped into the image) from an
// image whose pixels of -1 are transparent, enlarged times / per with nearest neighbour
// (the hot spot with it); nullptr for an empty image.
HICON MakeIcon(const Surface& image, bool cursor, int hotX, int hotY, int times = 1, int per = 1);
// A system cursor for one of the platform's own shapes; nullptr for Default and Custom.
HCURSOR SystemCursor(MousePointer pointer);

// The width in layout pixels of an AutoSize label: its caption's width in font (the font
// of scale), at least the geometry's.
int LabelWidth(const Label& label, HWND window, HFONT font, LayoutScale scale);

}  // namespace pelmora
