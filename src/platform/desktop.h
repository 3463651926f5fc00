// SPDX-License-Identifier: MIT
// The screen, the pointer, the windows and the cursor, as the program sees them.
// Coordinates are physical screen pixels. On Windows the origin is the primary monitor's
// top-left: other monitors may lie at negative coordinates or past its size. On X11 it is
// the root window's top-left, which spans every monitor: coordinates are never negative,
// and the primary monitor may lie anywhere on the root.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace pelmora {

// A point in screen pixels.
struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

struct ScreenSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// A rectangle of screen pixels: its top-left corner and its size.
struct ScreenRegion {
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const ScreenRegion&, const ScreenRegion&) = default;
};

// A window handle as the program shows and takes it: a signed 32-bit number, 0 for none.
using WindowHandle = std::int32_t;

// Window texts as another program's window gives them, in UTF-8, each cut like the
// platform's 255-byte text buffers: at most 254 bytes, never in the middle of a
// character, and at the first NUL.
inline constexpr std::size_t kWindowTextMaxBytes = 254;

struct WindowTexts {
    std::string title;
    std::string className;
};

// One window of the top-level walk: its handle and title.
struct TopLevelWindow {
    WindowHandle handle = 0;
    std::string title;
};

// A cursor's image: width x height pixels in rows from the top, each 0xAABBGGRR with its
// colour already multiplied by its alpha (so the colour alone is the image drawn over
// black), and the hot spot, the pixel that points. A pixel marked in inverts does not
// cover what lies under it but is XOR-ed onto it: its colour is then what it gives over
// black, and an all-white one inverts the screen (the classic text beam, whose mask bits
// are AND 1, XOR 1). Only Windows cursors have such pixels; inverts is empty when none does.
struct CursorImage {
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
    std::vector<std::uint32_t> pixels;
    std::vector<std::uint8_t> inverts{};  // one per pixel (1: XOR-ed), or empty
};

// Whether a window can be looked at now.
enum class WindowState {
    kShown,      // mapped (Windows: visible), not minimised, on a monitor
    kGone,       // the handle names no window (any longer)
    kMinimised,  // iconified (Windows: IsIconic)
    kHidden,     // not shown otherwise: withdrawn, unmapped, or on another virtual desktop
    kOffScreen,  // shown, but on no monitor
};

// Where a window lies on the screen, in screen pixels.
struct WindowPlace {
    WindowState state = WindowState::kGone;
    // The window as the user sees its outline: on X11 with the frame the window manager
    // draws around it (the window alone when there is none); on Windows the visible frame
    // (DWM's extended frame bounds, without the invisible resize borders).
    ScreenRegion frame{};
    // The window's own area: on X11 the window itself; on Windows its client area.
    ScreenRegion client{};
};

// The current mouse cursor as the platform reports it. known: an image is there to draw;
// position: where the pointer is, (0, 0) when the platform cannot report the cursor at all.
struct CurrentCursor {
    bool known = false;
    ScreenPoint position;
    CursorImage image;
};

// What this desktop tells no program (a Wayland compositor keeps the pointer's position, the
// windows and the cursor to itself): thrown by the calls that would need it. The message names
// the rule and where the value can be had.
struct DesktopUnavailable : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The desktop did not give its screen: the user refused it, its portal did not answer in
// time, or what it gave could not be read. The message says which.
struct ScreenRefused : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // Where the mouse pointer is; moving it there.
    virtual ScreenPoint PointerPos() = 0;
    virtual void SetPointerPos(ScreenPoint point) = 0;
    // The primary monitor's rectangle, measured when asked: "the screen" that a snapshot
    // or the editor takes whole. At (0, 0) on Windows; on X11 wherever it lies on the root.
    virtual ScreenRegion PrimaryMonitor() = 0;
    // The smallest rectangle that holds every monitor, measured when asked: it reaches
    // into negative coordinates when a monitor lies left of or above the primary one.
    virtual ScreenRegion AllMonitors() = 0;
    // Colour value (0x00BBGGRR) of one screen pixel on any monitor; -1 where no monitor
    // is, or when the pixel cannot be read. Where the monitors are is measured when asked.
    virtual std::int32_t Pixel(std::int32_t x, std::int32_t y) = 0;
    // Copies the screen rectangle whose top-left is (left, top) and whose size is the
    // target's into target; pixels off the screen are left as they were in target.
    virtual void ReadArea(std::int32_t left, std::int32_t top, Surface& target) = 0;

    // The window a user sees at the point: on a desktop with a window manager the
    // program's own (client) window, not the manager's frame; 0 when there is none.
    virtual WindowHandle WindowAt(ScreenPoint point) = 0;
    // Title and class name of the window; both empty for a handle that names no window
    // (or one that vanished meanwhile).
    virtual WindowTexts ReadWindowTexts(WindowHandle window) = 0;
    // Every top-level window, visible or hidden, in Z order from the top, each with its
    // title as ReadWindowTexts gives it. One call reads all titles, so that a backend can
    // ask for them together instead of window by window.
    virtual std::vector<TopLevelWindow> TopLevelWindows() = 0;
    // Where the window is now and whether it is shown; frame and client are left empty
    // unless it is shown. Off every monitor means its frame meets no monitor.
    virtual WindowPlace PlaceOfWindow(WindowHandle window) = 0;

    // The cursor shown now, read in one go with the pointer position it is shown at.
    virtual CurrentCursor ReadCursor() = 0;
};

}  // namespace pelmora
