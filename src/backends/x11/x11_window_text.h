// SPDX-License-Identifier: MIT
// A window's title and class as the program shows them: read from _NET_WM_NAME (UTF-8),
// WM_NAME and WM_CLASS over xcb, decoded into valid UTF-8 (compound text through Xlib's
// converters) and cut to the bytes kept, never in the middle of a character.
#pragma once

#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <string>

namespace pelmora {

class X11WindowTextReader {
public:
    // Which of a window's text properties to ask for.
    struct Parts {
        bool netWmName = true;
        bool wmName = true;
        bool wmClass = false;
    };

    // The requests for a window's texts, sent together.
    struct Requests {
        xcb_window_t window = XCB_NONE;
        Parts parts;
        xcb_get_property_cookie_t netWmName{}, wmName{}, wmClass{};
    };

    struct Texts {
        bool windowGone = false;
        // No title in _NET_WM_NAME, and WM_NAME, which would give it, was not asked for.
        bool titleNeedsWmName = false;
        std::string title;
        std::string className;
    };

    // Reads on display's xcb connection xcb; netWmName and utf8String are the atoms of
    // those names.
    X11WindowTextReader(Display* display, xcb_connection_t* xcb, xcb_atom_t netWmName, xcb_atom_t utf8String)
        : display_(display), xcb_(xcb), netWmName_(netWmName), utf8String_(utf8String) {}

    // Asking for WM_NAME along with _NET_WM_NAME spares a window without the latter a
    // second round trip; a walk over many windows asks for it only where it is needed,
    // in one round for all of them.
    Requests Ask(xcb_window_t window, Parts parts) const;

    // Drops the replies to requests unread.
    void Forget(const Requests& requests) const;

    // Reads every reply of requests, whatever the first ones said. A text that is cut off
    // where it may give too little is read further, a round trip each time.
    Texts Collect(const Requests& requests) const;

private:
    Display* display_;
    xcb_connection_t* xcb_;
    xcb_atom_t netWmName_;
    xcb_atom_t utf8String_;
};

}  // namespace pelmora
