// SPDX-License-Identifier: MIT
#include "backends/x11/x11_top_level_walk.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "backends/x11/x11_replies.h"
#include "backends/x11/x11_window_tree.h"

namespace pelmora {

namespace {
// The window manager's client list is read up to this many windows.
constexpr std::uint32_t kMostListedClients = 1 << 20;

constexpr X11WindowTextReader::Parts kTitleOnly{.netWmName = true, .wmName = false};
}  // namespace

std::vector<TopLevelWindow> X11TopLevelWalk::Run() {
    const std::optional<std::vector<xcb_window_t>> tops = ReadRoot();
    if (!tops) return {};
    FindListedParents();
    Start(*tops);

    // Each round sends the requests of every window's current stage, then reads them.
    for (;;) {
        std::vector<TopLevel*> active;
        for (TopLevel& window : tops_)
            if (Send(window)) active.push_back(&window);
        if (active.empty()) break;
        for (TopLevel* window : active) Receive(*window);
    }

    std::vector<TopLevelWindow> windows;
    windows.reserve(tops_.size());
    for (TopLevel& window : tops_)
        if (window.stage == Stage::Done)
            windows.push_back({static_cast<WindowHandle>(window.shown), std::move(window.title)});
    return windows;
}

std::optional<std::vector<xcb_window_t>> X11TopLevelWalk::ReadRoot() {
    // A frame's client is looked for among the listed clients first, since a frame has
    // dozens of decoration windows.
    const auto treeRequest = xcb_query_tree(xcb_, root_);
    const auto listRequest = xcb_get_property(xcb_, 0, root_, netClientList_, XCB_ATOM_WINDOW, 0, kMostListedClients);
    const auto rootTree = Await(xcb_query_tree_reply, xcb_, treeRequest);
    const auto clientList = Await(xcb_get_property_reply, xcb_, listRequest);
    if (!rootTree) return std::nullopt;
    if (clientList && clientList->format == 32) {
        const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(clientList.get()));
        listed_.assign(ids, ids + xcb_get_property_value_length(clientList.get()) / 4);
        std::sort(listed_.begin(), listed_.end());
    }
    return ChildrenTopFirst(*rootTree);
}

void X11TopLevelWalk::FindListedParents() {
    // Asked of the clients in one round: a reparenting window manager's frame holds dozens
    // of decoration windows (openbox's 56), so asking every frame for its children costs
    // the server and the connection many times more than asking every client for its
    // parent.
    std::vector<xcb_query_tree_cookie_t> parentRequests;
    parentRequests.reserve(listed_.size());
    for (const xcb_window_t client : listed_) parentRequests.push_back(xcb_query_tree(xcb_, client));
    listedBelow_.reserve(listed_.size());
    for (std::size_t i = 0; i < listed_.size(); ++i)
        if (const auto tree = Await(xcb_query_tree_reply, xcb_, parentRequests[i]))
            listedBelow_.emplace_back(tree->parent, listed_[i]);
    std::sort(listedBelow_.begin(), listedBelow_.end());
}

bool X11TopLevelWalk::IsListed(xcb_window_t window) const {
    return std::binary_search(listed_.begin(), listed_.end(), window);
}

std::optional<xcb_window_t> X11TopLevelWalk::OnlyListedChild(xcb_window_t top) const {
    const auto first = std::lower_bound(listedBelow_.begin(), listedBelow_.end(), std::pair{top, xcb_window_t{0}});
    if (first == listedBelow_.end() || first->first != top) return std::nullopt;
    if (first + 1 != listedBelow_.end() && (first + 1)->first == top) return std::nullopt;
    return first->second;
}

void X11TopLevelWalk::Start(const std::vector<xcb_window_t>& tops) {
    // A top-level window that holds one listed client is taken for its frame and goes
    // straight to that client: a frame is no client itself, so asking it for WM_STATE
    // first would only cost a request per window.
    for (const xcb_window_t top : tops) {
        TopLevel& window = tops_.emplace_back();
        window.top = top;
        if (const auto client = OnlyListedChild(top)) {
            window.shown = *client;
            window.stage = Stage::Verify;
        }
    }
}

bool X11TopLevelWalk::Send(TopLevel& window) {
    switch (window.stage) {
        case Stage::Examine:
            window.state = xcb_get_property(xcb_, 0, window.top, wmState_, XCB_GET_PROPERTY_TYPE_ANY, 0, 0);
            return true;
        case Stage::Unfold: window.tree = xcb_query_tree(xcb_, window.top); return true;
        case Stage::Verify:
            window.state = xcb_get_property(xcb_, 0, window.shown, wmState_, XCB_GET_PROPERTY_TYPE_ANY, 0, 0);
            window.texts = reader_.Ask(window.shown, kTitleOnly);
            return true;
        case Stage::Search:
            window.levelRequests.clear();
            for (const xcb_window_t below : window.level)
                window.levelRequests.emplace_back(
                    xcb_get_property(xcb_, 0, below, wmState_, XCB_GET_PROPERTY_TYPE_ANY, 0, 0),
                    xcb_query_tree(xcb_, below));
            return true;
        case Stage::Read: window.texts = reader_.Ask(window.shown, kTitleOnly); return true;
        case Stage::ReadWmName: window.texts = reader_.Ask(window.shown, {.netWmName = false}); return true;
        case Stage::Done:
        case Stage::Gone: return false;
    }
    return false;
}

void X11TopLevelWalk::Receive(TopLevel& window) {
    switch (window.stage) {
        case Stage::Examine: ReceiveExamine(window); break;
        case Stage::Unfold: ReceiveUnfold(window); break;
        case Stage::Verify: ReceiveVerify(window); break;
        case Stage::Search: ReceiveSearch(window); break;
        case Stage::Read:
        case Stage::ReadWmName: ReceiveTitle(window); break;
        case Stage::Done:
        case Stage::Gone: break;
    }
}

void X11TopLevelWalk::ReceiveExamine(TopLevel& window) {
    const auto state = Await(xcb_get_property_reply, xcb_, window.state);
    if (!state) {
        window.stage = Stage::Gone;
    } else if (state->type != XCB_NONE) {
        window.shown = window.top;
        window.stage = Stage::Read;
    } else {
        window.stage = Stage::Unfold;
    }
}

void X11TopLevelWalk::ReceiveUnfold(TopLevel& window) {
    const auto tree = Await(xcb_query_tree_reply, xcb_, window.tree);
    if (!tree) {
        window.stage = Stage::Gone;
        return;
    }
    const std::vector<xcb_window_t> children = ChildrenTopFirst(*tree);
    const auto client =
        std::find_if(children.begin(), children.end(), [this](xcb_window_t child) { return IsListed(child); });
    if (client != children.end() && !window.listedChildFailed) {
        window.shown = *client;
        window.stage = Stage::Verify;
    } else if (children.empty()) {
        window.shown = window.top;
        window.stage = Stage::Read;
    } else {
        window.level = children;
        window.depth = 1;
        window.stage = Stage::Search;
    }
}

void X11TopLevelWalk::ReceiveVerify(TopLevel& window) {
    const auto state = Await(xcb_get_property_reply, xcb_, window.state);
    X11WindowTextReader::Texts texts = reader_.Collect(window.texts);
    if (!state || texts.windowGone) {
        window.stage = Stage::Gone;
    } else if (state->type != XCB_NONE) {
        TakeTitle(window, texts);
    } else {
        // Listed but no client: the top-level window may be one itself, or hold one
        // further below.
        window.listedChildFailed = true;
        window.stage = Stage::Examine;
    }
}

void X11TopLevelWalk::ReceiveSearch(TopLevel& window) {
    xcb_window_t client = XCB_NONE;
    std::vector<xcb_window_t> nextLevel;
    for (std::size_t i = 0; i < window.level.size(); ++i) {
        const auto state = Await(xcb_get_property_reply, xcb_, window.levelRequests[i].first);
        const auto tree = Await(xcb_query_tree_reply, xcb_, window.levelRequests[i].second);
        if (!state || !tree) continue;  // vanished: nothing below it either
        if (state->type != XCB_NONE && client == XCB_NONE) client = window.level[i];
        const std::vector<xcb_window_t> below = ChildrenTopFirst(*tree);
        nextLevel.insert(nextLevel.end(), below.begin(), below.end());
    }
    window.levelRequests.clear();
    if (client != XCB_NONE) {
        window.shown = client;
        window.stage = Stage::Read;
    } else if (nextLevel.empty() || window.depth >= kMostSearchLevels) {
        window.shown = window.top;  // holds no client: listed as it is
        window.stage = Stage::Read;
    } else {
        window.level = std::move(nextLevel);
        ++window.depth;
    }
}

void X11TopLevelWalk::ReceiveTitle(TopLevel& window) {
    X11WindowTextReader::Texts texts = reader_.Collect(window.texts);
    if (texts.windowGone) window.stage = Stage::Gone;
    else TakeTitle(window, texts);
}

void X11TopLevelWalk::TakeTitle(TopLevel& window, X11WindowTextReader::Texts& texts) {
    if (texts.titleNeedsWmName) {
        window.stage = Stage::ReadWmName;
        return;
    }
    window.title = std::move(texts.title);
    window.stage = Stage::Done;
}

}  // namespace pelmora
