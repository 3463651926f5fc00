// SPDX-License-Identifier: MIT
// The desktop over Xlib: the real pointer and the real screen pixels of the root window;
// the windows over xcb on the same connection, so that many requests travel together.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/desktop.h"
#include "backends/x11/x11_connection.h"
#include "backends/x11/x11_screen_reader.h"

namespace pelmora {

class X11Desktop : public Desktop {
public:
    // Works on connection, which must outlive it.
    explicit X11Desktop(X11Connection& connection);

    ScreenPoint PointerPos() override;
    void SetPointerPos(ScreenPoint point) override;
    // The root window's size as it is now.
    ScreenSize Size();
    // The RandR monitors, each clipped to the root, those with nothing on it left out: the
    // one marked primary first, the others in the server's order. The whole root alone
    // when the server defines none (no RandR 1.5).
    std::vector<ScreenRegion> Monitors();
    // The first of Monitors(): the primary one, or the first listed when none is.
    ScreenRegion PrimaryMonitor() override;
    // The root window, which spans every monitor from (0, 0).
    ScreenRegion AllMonitors() override {
        const ScreenSize root = Size();
        return {0, 0, root.width, root.height};
    }
    std::int32_t Pixel(std::int32_t x, std::int32_t y) override;
    void ReadArea(std::int32_t left, std::int32_t top, Surface& target) override;
    WindowHandle WindowAt(ScreenPoint point) override;
    WindowTexts ReadWindowTexts(WindowHandle window) override;
    std::vector<TopLevelWindow> TopLevelWindows() override;
    // The frame is the window's top-level ancestor, the child of the root that a window
    // manager frames it in (the window itself when none does); the client the window alone.
    // Minimised: unmapped with WM_STATE IconicState; hidden: unmapped otherwise.
    WindowPlace PlaceOfWindow(WindowHandle window) override;
    // The cursor image over XFixes, with the pointer position it comes with; read anew on
    // every call (one request), so a changed cursor shows at once. Without XFixes nothing
    // is known, not even the position.
    CurrentCursor ReadCursor() override;

private:
    // Reads the part of the rectangle that lies on the root as rootSize_ gives it; false
    // when the server refused the read.
    bool ReadOnRoot(std::int32_t left, std::int32_t top, Surface& target);

    // The atoms the window operations name, interned together on first use.
    struct WindowAtoms {
        std::uint32_t wmState, netWmName, utf8String, netClientList;
    };

    // The texts of WindowAt's answer, read along with its walk when the answer was the
    // one before too (the pointer resting on a window). ReadWindowTexts takes them, once,
    // when asked for that window within kPrefetchedTextsLife: a sampling tick, which asks
    // for the window at the pointer and then for its texts, saves a round trip. A change
    // made in between shows on the next read, as one made just after a read would.
    struct PrefetchedTexts {
        std::uint32_t window;
        WindowTexts texts;
        std::chrono::steady_clock::time_point readAt;
    };
    static constexpr std::chrono::milliseconds kPrefetchedTextsLife{2};

    // The atoms, interned on the first call.
    WindowAtoms Atoms();

    X11Connection& connection_;
    // Screen rectangles, with the shared segment the larger ones travel over.
    X11ScreenReader screen_;
    ScreenSize rootSize_;              // as last measured; 0 x 0 before the first area read
    std::optional<bool> hasXFixes_;    // whether the server has XFixes, once asked
    std::optional<bool> hasMonitors_;  // whether the server has RandR 1.5's monitors, once asked
    std::optional<WindowAtoms> atoms_;
    // The windows the last WindowAt went through, from the root's child down to its answer:
    // the next call checks them along with its first request, so that a pointer resting on
    // one window costs a single round trip.
    std::vector<std::uint32_t> lastPath_;
    std::uint32_t lastAnswer_ = 0;  // the root when the last walk found bare background
    std::optional<PrefetchedTexts> prefetched_;
};

}  // namespace pelmora
