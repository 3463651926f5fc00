// SPDX-License-Identifier: MIT
// The walk over every top-level window, the topmost first, to the window listed for each:
// the client a window manager's frame holds, or else the top-level window itself, with its
// title. Every window goes through its stages side by side with the others: each round
// sends the requests of every window's current stage and then reads their replies, so a
// walk over a thousand windows costs a few round trips instead of thousands.
#pragma once

#include <xcb/xcb.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/desktop.h"
#include "backends/x11/x11_window_text.h"

namespace pelmora {

class X11TopLevelWalk {
public:
    // Walks the children of root on xcb; wmState and netClientList are the atoms of those
    // names; reader reads the titles. All must outlive the walk.
    X11TopLevelWalk(xcb_connection_t* xcb, xcb_window_t root, xcb_atom_t wmState, xcb_atom_t netClientList,
                    const X11WindowTextReader& reader)
        : xcb_(xcb), root_(root), wmState_(wmState), netClientList_(netClientList), reader_(reader) {}

    // The windows listed for the top-level windows, the topmost first; those that vanished
    // meanwhile are left out. Empty when the root's children could not be read. Called once.
    std::vector<TopLevelWindow> Run();

private:
    // One top-level window on its way to the window listed for it. Each stage sends its
    // requests in one round, together with every other window's, and reads the replies in
    // the next.
    struct TopLevel {
        enum class Stage {
            Examine,     // is it a client itself
            Unfold,      // the windows it holds, when its listed client is not known by now
            Verify,      // a child the window manager lists as client: its WM_STATE and its title
            Search,      // no listed client: the next level of windows below, for WM_STATE
            Read,        // the window to list is known: its title
            ReadWmName,  // its _NET_WM_NAME gave no title: its WM_NAME
            Done,
            Gone,  // vanished meanwhile: not listed
        };
        Stage stage = Stage::Examine;
        xcb_window_t top = XCB_NONE;
        xcb_window_t shown = XCB_NONE;
        bool listedChildFailed = false;   // the listed child it holds had no WM_STATE
        std::vector<xcb_window_t> level;  // Search: the windows of this level, top first
        int depth = 0;
        std::string title;

        xcb_get_property_cookie_t state{};
        xcb_query_tree_cookie_t tree{};
        X11WindowTextReader::Requests texts;
        std::vector<std::pair<xcb_get_property_cookie_t, xcb_query_tree_cookie_t>> levelRequests;
    };
    using Stage = TopLevel::Stage;

    // The root's children, top first, and the clients the window manager lists, into
    // listed_; nothing when the root's children could not be read.
    std::optional<std::vector<xcb_window_t>> ReadRoot();
    // The window each listed client sits in, into listedBelow_.
    void FindListedParents();
    bool IsListed(xcb_window_t window) const;
    // The one listed client among top's children; nothing when there is none or more.
    std::optional<xcb_window_t> OnlyListedChild(xcb_window_t top) const;
    void Start(const std::vector<xcb_window_t>& tops);

    // Sends the requests of the window's stage; false when it has none left.
    bool Send(TopLevel& window);
    // Reads the replies of the window's stage and moves it on.
    void Receive(TopLevel& window);
    void ReceiveExamine(TopLevel& window);
    void ReceiveUnfold(TopLevel& window);
    void ReceiveVerify(TopLevel& window);
    void ReceiveSearch(TopLevel& window);
    void ReceiveTitle(TopLevel& window);
    // The title read, or the round that reads it from WM_NAME.
    static void TakeTitle(TopLevel& window, X11WindowTextReader::Texts& texts);

    xcb_connection_t* xcb_;
    xcb_window_t root_;
    xcb_atom_t wmState_;
    xcb_atom_t netClientList_;
    const X11WindowTextReader& reader_;
    std::vector<xcb_window_t> listed_;                                // sorted
    std::vector<std::pair<xcb_window_t, xcb_window_t>> listedBelow_;  // (parent, client), sorted
    std::vector<TopLevel> tops_;                                      // the topmost first
};

}  // namespace pelmora
