// SPDX-License-Identifier: MIT
// The windows of the desktop: the client window at a point, a window's title and class,
// and the walk over every top-level window.
//
// These go over xcb on the program's own Xlib connection. xcb lets a batch of requests
// go out before the first reply is read, so a walk over a thousand windows costs a few
// round trips instead of thousands. And the error of a request that has a reply comes
// back with that reply instead of reaching Xlib's error handler, so a window destroyed
// in the middle of a walk or a read costs only itself. Every request sent here has a
// reply, and every reply is either read or discarded, so no error ever reaches Xlib.
#include <X11/Xlib-xcb.h>
#include <X11/Xutil.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/utf8_encoding.h"
#include "platform/utf8_text.h"
#include "backends/x11/x11_desktop.h"

namespace pelmora {

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeReply>;

// The reply to a request; nullptr when the server refused it (a window that no longer
// exists) or the connection broke. The error is freed here and goes nowhere else.
template <class T, class Cookie>
Reply<T> Await(T* (*replyOf)(xcb_connection_t*, Cookie, xcb_generic_error_t**), xcb_connection_t* xcb, Cookie cookie) {
    xcb_generic_error_t* error = nullptr;
    Reply<T> reply(replyOf(xcb, cookie, &error));
    if (error) {
        std::free(error);
        return nullptr;
    }
    return reply;
}

template <class Cookie>
void Forget(xcb_connection_t* xcb, Cookie cookie) {
    xcb_discard_reply(xcb, cookie.sequence);
}

std::vector<xcb_window_t> ChildrenTopFirst(const xcb_query_tree_reply_t& tree) {
    // The server lists children bottom to top.
    const xcb_window_t* children = xcb_query_tree_children(&tree);
    std::vector<xcb_window_t> result(children, children + xcb_query_tree_children_length(&tree));
    std::reverse(result.begin(), result.end());
    return result;
}

// ---- Texts ---------------------------------------------------------------------------

// A text property is read in pieces of 32-bit units. The first piece holds what is kept
// (254 bytes) and room to finish the last character, so a long title costs no more than
// a short one; WM_CLASS gets room for an instance name before its class name.
constexpr std::uint32_t kTextUnits = 65;
constexpr std::uint32_t kClassUnits = 128;
// Raw bytes that always give at least the bytes kept: in UTF-8 and Latin-1 every byte
// gives one byte or more, and a character is at most four bytes long.
constexpr std::size_t kEnoughBytes = kWindowTextMaxBytes + 4;
// A text is never read further than this, however little it has given.
constexpr std::size_t kMostBytesRead = std::size_t{1} << 20;

// The bytes of a text property as far as they were read.
struct RawText {
    bool windowGone = false;
    xcb_atom_t type = XCB_NONE;  // XCB_NONE: no such property (or not one of 8-bit units)
    std::string bytes;
    bool complete = true;  // false while the server holds more of it
};

RawText ToRawText(const Reply<xcb_get_property_reply_t>& reply) {
    RawText raw;
    if (!reply) {
        raw.windowGone = true;
        return raw;
    }
    if (reply->type == XCB_NONE || reply->format != 8) return raw;
    raw.type = reply->type;
    raw.bytes.assign(static_cast<const char*>(xcb_get_property_value(reply.get())),
                     static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
    raw.complete = reply->bytes_after == 0;
    return raw;
}

// Appends the next piece of the property, twice as much as was read so far.
void ReadFurther(xcb_connection_t* xcb, xcb_window_t window, xcb_atom_t property, RawText& raw) {
    // A piece that was not the last holds whole 32-bit units, so the rest starts there.
    const auto offset = static_cast<std::uint32_t>(raw.bytes.size() / 4);
    const auto reply = Await(
        xcb_get_property_reply, xcb,
        xcb_get_property(xcb, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, offset, std::max(offset, kTextUnits)));
    if (!reply || reply->type != raw.type || reply->format != 8) {
        raw.complete = true;  // gone or replaced meanwhile: what was read stands
        return;
    }
    raw.bytes.append(static_cast<const char*>(xcb_get_property_value(reply.get())),
                     static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
    raw.complete = reply->bytes_after == 0;
}

// Element index of the NUL-separated list in bytes; terminated tells whether its NUL
// was among the bytes.
std::string_view Element(std::string_view bytes, std::size_t index, bool* terminated = nullptr) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < index; ++i) {
        const std::size_t nul = bytes.find('\0', start);
        if (nul == std::string_view::npos) {
            if (terminated) *terminated = false;
            return {};
        }
        start = nul + 1;
    }
    const std::size_t end = bytes.find('\0', start);
    if (terminated) *terminated = end != std::string_view::npos;
    return bytes.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

// How a property's type says its bytes are to be read.
enum class TextKind {
    Utf8,    // UTF8_STRING, and _NET_WM_NAME whatever its type claims
    String,  // STRING
    Other,   // COMPOUND_TEXT and the rest: Xlib's converters
};

class TextDecoder {
public:
    TextDecoder(Display* display, xcb_connection_t* xcb, xcb_atom_t utf8String)
        : display_(display), xcb_(xcb), utf8String_(utf8String) {}

    TextKind KindOf(xcb_atom_t type) const {
        if (type == XCB_ATOM_STRING) return TextKind::String;
        if (type == utf8String_) return TextKind::Utf8;
        return TextKind::Other;
    }

    // Element index of the property's NUL-separated list, in valid UTF-8 and cut to the
    // bytes kept. Reads further only where what was read may give too little.
    std::string Text(RawText& raw, TextKind kind, std::size_t index, xcb_window_t window, xcb_atom_t property) {
        if (raw.type == XCB_NONE) return {};
        while (!Enough(raw, kind, index)) ReadFurther(xcb_, window, property, raw);
        bool terminated = false;
        const std::string_view element = Element(raw.bytes, index, &terminated);
        std::string text;
        switch (kind) {
            case TextKind::Utf8: text = ValidUtf8(element); break;
            case TextKind::String: text = StringToUtf8(element, !terminated && !raw.complete); break;
            case TextKind::Other: text = Converted(raw, index); break;
        }
        return Utf8Encoding().CutAtCharacterBoundary(text, kWindowTextMaxBytes);
    }

private:
    bool Enough(const RawText& raw, TextKind kind, std::size_t index) const {
        if (raw.complete || raw.bytes.size() >= kMostBytesRead) return true;
        bool terminated = false;
        const std::string_view element = Element(raw.bytes, index, &terminated);
        if (terminated) return true;
        if (kind != TextKind::Other) return element.size() >= kEnoughBytes;
        // Xlib converts a cut-off text as far as it goes, so what it gives is the start
        // of what the whole would give.
        return Converted(raw, index).size() >= kEnoughBytes;
    }

    // Xlib's conversion of the property into UTF-8 (compound text switches between
    // character sets with escape sequences); where it has no converter, the bytes read
    // as UTF-8 with the bad ones replaced.
    std::string Converted(const RawText& raw, std::size_t index) const {
        if (raw.bytes.empty()) return {};
        XTextProperty property{};
        property.value = reinterpret_cast<unsigned char*>(const_cast<char*>(raw.bytes.data()));
        property.encoding = raw.type;
        property.format = 8;
        property.nitems = raw.bytes.size();
        char** list = nullptr;
        int count = 0;
        const int status = Xutf8TextPropertyToTextList(display_, &property, &list, &count);
        if (status < Success || !list) return ValidUtf8(Element(raw.bytes, index));
        std::string text = index < static_cast<std::size_t>(count) ? list[index] : "";
        XFreeStringList(list);
        return ValidUtf8(text);
    }

    Display* display_;
    xcb_connection_t* xcb_;
    xcb_atom_t utf8String_;
};

// Which of a window's text properties to ask for.
struct TextParts {
    bool netWmName = true;
    bool wmName = true;
    bool wmClass = false;
};

// The requests for a window's texts, sent together.
struct TextRequests {
    xcb_window_t window = XCB_NONE;
    TextParts parts;
    xcb_get_property_cookie_t netWmName{}, wmName{}, wmClass{};
};

struct ReadTexts {
    bool windowGone = false;
    // No title in _NET_WM_NAME, and WM_NAME, which would give it, was not asked for.
    bool titleNeedsWmName = false;
    std::string title;
    std::string className;
};

class TextReader {
public:
    TextReader(Display* display, xcb_connection_t* xcb, xcb_atom_t netWmName, xcb_atom_t utf8String)
        : xcb_(xcb), netWmName_(netWmName), decoder_(display, xcb, utf8String) {}

    // Asking for WM_NAME along with _NET_WM_NAME spares a window without the latter a
    // second round trip; a walk over many windows asks for it only where it is needed,
    // in one round for all of them.
    TextRequests Ask(xcb_window_t window, TextParts parts) const {
        TextRequests requests;
        requests.window = window;
        requests.parts = parts;
        if (parts.netWmName)
            requests.netWmName =
                xcb_get_property(xcb_, 0, window, netWmName_, XCB_GET_PROPERTY_TYPE_ANY, 0, kTextUnits);
        if (parts.wmName)
            requests.wmName =
                xcb_get_property(xcb_, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, kTextUnits);
        if (parts.wmClass)
            requests.wmClass =
                xcb_get_property(xcb_, 0, window, XCB_ATOM_WM_CLASS, XCB_GET_PROPERTY_TYPE_ANY, 0, kClassUnits);
        return requests;
    }

    void Forget(const TextRequests& requests) const {
        if (requests.parts.netWmName) pelmora::Forget(xcb_, requests.netWmName);
        if (requests.parts.wmName) pelmora::Forget(xcb_, requests.wmName);
        if (requests.parts.wmClass) pelmora::Forget(xcb_, requests.wmClass);
    }

    // Reads every reply of requests, whatever the first ones said.
    ReadTexts Collect(const TextRequests& requests) {
        const TextParts& parts = requests.parts;
        RawText netWmName, wmName, wmClass;
        if (parts.netWmName) netWmName = ToRawText(Await(xcb_get_property_reply, xcb_, requests.netWmName));
        if (parts.wmName) wmName = ToRawText(Await(xcb_get_property_reply, xcb_, requests.wmName));
        if (parts.wmClass) wmClass = ToRawText(Await(xcb_get_property_reply, xcb_, requests.wmClass));
        ReadTexts texts;
        if (netWmName.windowGone || wmName.windowGone || wmClass.windowGone) {
            texts.windowGone = true;
            return texts;
        }
        texts.title = decoder_.Text(netWmName, TextKind::Utf8, 0, requests.window, netWmName_);
        if (texts.title.empty() && parts.wmName)
            texts.title = decoder_.Text(wmName, decoder_.KindOf(wmName.type), 0, requests.window, XCB_ATOM_WM_NAME);
        texts.titleNeedsWmName = texts.title.empty() && !parts.wmName;
        // WM_CLASS holds the instance name, then the class name.
        if (parts.wmClass)
            texts.className =
                decoder_.Text(wmClass, decoder_.KindOf(wmClass.type), 1, requests.window, XCB_ATOM_WM_CLASS);
        return texts;
    }

private:
    xcb_connection_t* xcb_;
    xcb_atom_t netWmName_;
    TextDecoder decoder_;
};

// ---- The window at a point -----------------------------------------------------------

// Walks deeper than this are taken for a fault and stopped.
constexpr std::size_t kMostLevels = 64;

// What is asked about one window on the way down: whether it is a client (WM_STATE),
// and which of its children lies at the point.
struct Step {
    xcb_window_t window = XCB_NONE;
    xcb_get_property_cookie_t state{};
    xcb_translate_coordinates_cookie_t below{};
};

Step AskAbout(xcb_connection_t* xcb, xcb_window_t window, xcb_window_t root, xcb_atom_t wmState, ScreenPoint point) {
    return {window, xcb_get_property(xcb, 0, window, wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 0),
            xcb_translate_coordinates(xcb, root, window, static_cast<std::int16_t>(point.x),
                                      static_cast<std::int16_t>(point.y))};
}

void Forget(xcb_connection_t* xcb, const Step& step) {
    Forget(xcb, step.state);
    Forget(xcb, step.below);
}

// What a walk down found at a point: the first client on the way, else the deepest window.
struct Found {
    xcb_window_t window = XCB_NONE;
    bool client = false;
};

// The walk down to the window at point. path holds the windows the last walk went
// through; their steps go out with the first request, and each is used while the walk
// goes the same way. Afterwards path holds this walk's windows. The answer: the first
// client on the way, else the deepest window (the root over bare background); nothing
// when a window on the way vanished meanwhile.
std::optional<Found> Descend(xcb_connection_t* xcb, xcb_window_t root, xcb_atom_t wmState, ScreenPoint point,
                             std::vector<std::uint32_t>& path, xcb_translate_coordinates_cookie_t top) {
    std::vector<Step> guesses;
    guesses.reserve(path.size());
    for (const std::uint32_t window : path) guesses.push_back(AskAbout(xcb, window, root, wmState, point));
    std::size_t nextGuess = 0;
    const auto forgetGuesses = [&] {
        for (; nextGuess < guesses.size(); ++nextGuess) Forget(xcb, guesses[nextGuess]);
    };

    path.clear();
    const auto topReply = Await(xcb_translate_coordinates_reply, xcb, top);
    if (!topReply) {
        forgetGuesses();
        return std::nullopt;
    }
    Found answer{root, false};
    xcb_window_t current = topReply->child;
    while (current != XCB_NONE && path.size() < kMostLevels) {
        path.push_back(current);
        Step step;
        if (nextGuess < guesses.size() && guesses[nextGuess].window == current) {
            step = guesses[nextGuess++];
        } else {
            forgetGuesses();  // the way differs from here on
            step = AskAbout(xcb, current, root, wmState, point);
        }
        const auto state = Await(xcb_get_property_reply, xcb, step.state);
        if (!state) {
            Forget(xcb, step.below);
            forgetGuesses();
            path.clear();
            return std::nullopt;
        }
        answer.window = current;
        if (state->type != XCB_NONE) {
            answer.client = true;
            Forget(xcb, step.below);
            break;
        }
        const auto below = Await(xcb_translate_coordinates_reply, xcb, step.below);
        if (!below) {
            forgetGuesses();
            path.clear();
            return std::nullopt;
        }
        current = below->child;
    }
    forgetGuesses();
    return answer;
}

struct WalkResult {
    std::optional<Found> answer;
    std::optional<ReadTexts> answerTexts;  // read along, when the answer was the last one
};

// One walk to the window at point. The texts of the last walk's answer go out with its
// first request too: while the pointer rests on a window (or on the bare root), the texts
// the caller asks for next are already there.
WalkResult Walk(xcb_connection_t* xcb, xcb_window_t root, xcb_atom_t wmState, ScreenPoint point,
                std::vector<std::uint32_t>& path, xcb_window_t lastAnswer, TextReader& reader) {
    const auto top = xcb_translate_coordinates(xcb, root, root, static_cast<std::int16_t>(point.x),
                                               static_cast<std::int16_t>(point.y));
    std::optional<TextRequests> texts;
    if (lastAnswer != XCB_NONE) texts = reader.Ask(lastAnswer, {.wmClass = true});
    WalkResult result{Descend(xcb, root, wmState, point, path, top), std::nullopt};
    if (texts) {
        if (result.answer && result.answer->window == lastAnswer) result.answerTexts = reader.Collect(*texts);
        else reader.Forget(*texts);
    }
    return result;
}

// ---- The top-level walk ---------------------------------------------------------------

// A search for a client below a top-level window goes no deeper than this.
constexpr int kMostSearchLevels = 8;
// The client below a frame that the walk down did not meet (the frame's title bar or
// border is at the point): the first window with WM_STATE, level by level, top first.
std::optional<xcb_window_t> ClientBelow(xcb_connection_t* xcb, xcb_window_t frame, xcb_atom_t wmState) {
    std::vector<xcb_window_t> level{frame};
    for (int depth = 0; depth < kMostSearchLevels && !level.empty(); ++depth) {
        std::vector<xcb_query_tree_cookie_t> trees;
        trees.reserve(level.size());
        for (const xcb_window_t window : level) trees.push_back(xcb_query_tree(xcb, window));
        std::vector<xcb_window_t> next;
        for (const auto cookie : trees)
            if (const auto tree = Await(xcb_query_tree_reply, xcb, cookie)) {
                const std::vector<xcb_window_t> children = ChildrenTopFirst(*tree);
                next.insert(next.end(), children.begin(), children.end());
            }
        std::vector<xcb_get_property_cookie_t> states;
        states.reserve(next.size());
        for (const xcb_window_t window : next)
            states.push_back(xcb_get_property(xcb, 0, window, wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 0));
        std::optional<xcb_window_t> client;
        for (std::size_t i = 0; i < next.size(); ++i) {
            const auto state = Await(xcb_get_property_reply, xcb, states[i]);
            if (state && state->type != XCB_NONE && !client) client = next[i];
        }
        if (client) return client;
        level = std::move(next);
    }
    return std::nullopt;
}

// The window manager's client list is read up to this many windows.
constexpr std::uint32_t kMostListedClients = 1 << 20;

// One top-level window on its way to the window listed for it: the client its frame
// holds, or else the window itself. Each stage sends its requests in one round, together
// with every other window's, and reads the replies in the next.
struct TopLevelWalk {
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
    TextRequests texts;
    std::vector<std::pair<xcb_get_property_cookie_t, xcb_query_tree_cookie_t>> levelRequests;
};

}  // namespace

X11Desktop::WindowAtoms X11Desktop::Atoms() {
    if (atoms_) return *atoms_;
    xcb_connection_t* xcb = XGetXCBConnection(connection_.display());
    const std::string_view names[] = {"WM_STATE", "_NET_WM_NAME", "UTF8_STRING", "_NET_CLIENT_LIST"};
    xcb_intern_atom_cookie_t cookies[std::size(names)];
    for (std::size_t i = 0; i < std::size(names); ++i)
        cookies[i] = xcb_intern_atom(xcb, 0, static_cast<std::uint16_t>(names[i].size()), names[i].data());
    std::uint32_t atoms[std::size(names)];
    bool all = true;
    for (std::size_t i = 0; i < std::size(names); ++i) {
        const auto reply = Await(xcb_intern_atom_reply, xcb, cookies[i]);
        atoms[i] = reply ? reply->atom : XCB_NONE;
        all = all && reply;
    }
    const WindowAtoms interned{atoms[0], atoms[1], atoms[2], atoms[3]};
    if (all) atoms_ = interned;  // after a failure (a broken connection) they are asked for again
    return interned;
}

WindowHandle X11Desktop::WindowAt(ScreenPoint point) {
    prefetched_.reset();
    if (!connection_.Alive()) return 0;
    const ScreenSize size = Size();
    if (point.x < 0 || point.y < 0 || point.x >= size.width || point.y >= size.height) {
        lastAnswer_ = 0;
        return 0;
    }
    xcb_connection_t* xcb = XGetXCBConnection(connection_.display());
    const WindowAtoms atoms = Atoms();
    TextReader reader(connection_.display(), xcb, atoms.netWmName, atoms.utf8String);
    // A window that vanishes under the walk sends it round again, on the windows as they
    // are now.
    for (int attempt = 0; attempt < 3; ++attempt) {
        WalkResult walk = Walk(xcb, connection_.root(), atoms.wmState, point, lastPath_, lastAnswer_, reader);
        if (!walk.answer) {
            lastAnswer_ = XCB_NONE;
            continue;
        }
        xcb_window_t answer = walk.answer->window;
        // A frame's title bar or border at the point: the window there is the client it frames.
        if (!walk.answer->client && !lastPath_.empty())
            answer = ClientBelow(xcb, lastPath_.front(), atoms.wmState).value_or(answer);
        lastAnswer_ = answer;
        if (walk.answerTexts && !walk.answerTexts->windowGone && answer == walk.answer->window)
            prefetched_ = PrefetchedTexts{answer,
                                          {std::move(walk.answerTexts->title), std::move(walk.answerTexts->className)},
                                          std::chrono::steady_clock::now()};
        return static_cast<WindowHandle>(answer);
    }
    return 0;
}

WindowTexts X11Desktop::ReadWindowTexts(WindowHandle window) {
    std::optional<PrefetchedTexts> prefetched = std::exchange(prefetched_, std::nullopt);
    if (window == 0 || !connection_.Alive()) return {};
    if (prefetched && prefetched->window == static_cast<std::uint32_t>(window) &&
        std::chrono::steady_clock::now() - prefetched->readAt <= kPrefetchedTextsLife)
        return std::move(prefetched->texts);
    xcb_connection_t* xcb = XGetXCBConnection(connection_.display());
    const WindowAtoms atoms = Atoms();
    TextReader reader(connection_.display(), xcb, atoms.netWmName, atoms.utf8String);
    // A negative handle becomes an id no window has, which the server refuses like a gone one.
    ReadTexts texts = reader.Collect(reader.Ask(static_cast<xcb_window_t>(window), {.wmClass = true}));
    if (texts.windowGone) return {};
    return {std::move(texts.title), std::move(texts.className)};
}

std::vector<TopLevelWindow> X11Desktop::TopLevelWindows() {
    if (!connection_.Alive()) return {};
    xcb_connection_t* xcb = XGetXCBConnection(connection_.display());
    const WindowAtoms atoms = Atoms();
    TextReader reader(connection_.display(), xcb, atoms.netWmName, atoms.utf8String);
    using Stage = TopLevelWalk::Stage;

    // The root's children, and the clients the window manager lists: a frame's client is
    // looked for among those first, since a frame has dozens of decoration windows.
    const auto treeRequest = xcb_query_tree(xcb, connection_.root());
    const auto listRequest =
        xcb_get_property(xcb, 0, connection_.root(), atoms.netClientList, XCB_ATOM_WINDOW, 0, kMostListedClients);
    const auto rootTree = Await(xcb_query_tree_reply, xcb, treeRequest);
    const auto clientList = Await(xcb_get_property_reply, xcb, listRequest);
    if (!rootTree) return {};
    std::vector<xcb_window_t> listed;
    if (clientList && clientList->format == 32) {
        const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(clientList.get()));
        listed.assign(ids, ids + xcb_get_property_value_length(clientList.get()) / 4);
        std::sort(listed.begin(), listed.end());
    }
    const auto isListed = [&](xcb_window_t window) { return std::binary_search(listed.begin(), listed.end(), window); };

    // The window each listed client sits in, asked of the clients in one round, as
    // (parent, client) pairs in order: a reparenting window manager's frame holds dozens
    // of decoration windows (openbox's 56), so asking every frame for its children costs
    // the server and the connection many times more than asking every client for its
    // parent.
    std::vector<xcb_query_tree_cookie_t> parentRequests;
    parentRequests.reserve(listed.size());
    for (const xcb_window_t client : listed) parentRequests.push_back(xcb_query_tree(xcb, client));
    std::vector<std::pair<xcb_window_t, xcb_window_t>> listedBelow;
    listedBelow.reserve(listed.size());
    for (std::size_t i = 0; i < listed.size(); ++i)
        if (const auto tree = Await(xcb_query_tree_reply, xcb, parentRequests[i]))
            listedBelow.emplace_back(tree->parent, listed[i]);
    std::sort(listedBelow.begin(), listedBelow.end());
    // The one listed client among top's children; nothing when there is none or more.
    const auto onlyListedChild = [&](xcb_window_t top) -> std::optional<xcb_window_t> {
        const auto first = std::lower_bound(listedBelow.begin(), listedBelow.end(), std::pair{top, xcb_window_t{0}});
        if (first == listedBelow.end() || first->first != top) return std::nullopt;
        if (first + 1 != listedBelow.end() && (first + 1)->first == top) return std::nullopt;
        return first->second;
    };

    // A top-level window that holds one listed client is taken for its frame and goes
    // straight to that client: a frame is no client itself, so asking it for WM_STATE
    // first would only cost a request per window.
    std::vector<TopLevelWalk> walks;
    for (const xcb_window_t top : ChildrenTopFirst(*rootTree)) {
        TopLevelWalk& walk = walks.emplace_back();
        walk.top = top;
        if (const auto client = onlyListedChild(top)) {
            walk.shown = *client;
            walk.stage = Stage::Verify;
        }
    }

    // The title read, or the round that reads it from WM_NAME.
    const auto takeTitle = [](TopLevelWalk& walk, ReadTexts& texts) {
        if (texts.titleNeedsWmName) {
            walk.stage = Stage::ReadWmName;
            return;
        }
        walk.title = std::move(texts.title);
        walk.stage = Stage::Done;
    };
    const TextParts titleOnly{.netWmName = true, .wmName = false};

    const auto send = [&](TopLevelWalk& walk) {
        switch (walk.stage) {
            case Stage::Examine:
                walk.state = xcb_get_property(xcb, 0, walk.top, atoms.wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 0);
                return true;
            case Stage::Unfold: walk.tree = xcb_query_tree(xcb, walk.top); return true;
            case Stage::Verify:
                walk.state = xcb_get_property(xcb, 0, walk.shown, atoms.wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 0);
                walk.texts = reader.Ask(walk.shown, titleOnly);
                return true;
            case Stage::Search:
                walk.levelRequests.clear();
                for (const xcb_window_t window : walk.level)
                    walk.levelRequests.emplace_back(
                        xcb_get_property(xcb, 0, window, atoms.wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 0),
                        xcb_query_tree(xcb, window));
                return true;
            case Stage::Read: walk.texts = reader.Ask(walk.shown, titleOnly); return true;
            case Stage::ReadWmName: walk.texts = reader.Ask(walk.shown, {.netWmName = false}); return true;
            case Stage::Done:
            case Stage::Gone: return false;
        }
        return false;
    };

    const auto receive = [&](TopLevelWalk& walk) {
        switch (walk.stage) {
            case Stage::Examine: {
                const auto state = Await(xcb_get_property_reply, xcb, walk.state);
                if (!state) {
                    walk.stage = Stage::Gone;
                } else if (state->type != XCB_NONE) {
                    walk.shown = walk.top;
                    walk.stage = Stage::Read;
                } else {
                    walk.stage = Stage::Unfold;
                }
                break;
            }
            case Stage::Unfold: {
                const auto tree = Await(xcb_query_tree_reply, xcb, walk.tree);
                if (!tree) {
                    walk.stage = Stage::Gone;
                    break;
                }
                const std::vector<xcb_window_t> children = ChildrenTopFirst(*tree);
                const auto client = std::find_if(children.begin(), children.end(), isListed);
                if (client != children.end() && !walk.listedChildFailed) {
                    walk.shown = *client;
                    walk.stage = Stage::Verify;
                } else if (children.empty()) {
                    walk.shown = walk.top;
                    walk.stage = Stage::Read;
                } else {
                    walk.level = children;
                    walk.depth = 1;
                    walk.stage = Stage::Search;
                }
                break;
            }
            case Stage::Verify: {
                const auto state = Await(xcb_get_property_reply, xcb, walk.state);
                ReadTexts texts = reader.Collect(walk.texts);
                if (!state || texts.windowGone) {
                    walk.stage = Stage::Gone;
                } else if (state->type != XCB_NONE) {
                    takeTitle(walk, texts);
                } else {
                    // Listed but no client: the top-level window may be one itself, or
                    // hold one further below.
                    walk.listedChildFailed = true;
                    walk.stage = Stage::Examine;
                }
                break;
            }
            case Stage::Search: {
                xcb_window_t client = XCB_NONE;
                std::vector<xcb_window_t> nextLevel;
                for (std::size_t i = 0; i < walk.level.size(); ++i) {
                    const auto state = Await(xcb_get_property_reply, xcb, walk.levelRequests[i].first);
                    const auto tree = Await(xcb_query_tree_reply, xcb, walk.levelRequests[i].second);
                    if (!state || !tree) continue;  // vanished: nothing below it either
                    if (state->type != XCB_NONE && client == XCB_NONE) client = walk.level[i];
                    const std::vector<xcb_window_t> below = ChildrenTopFirst(*tree);
                    nextLevel.insert(nextLevel.end(), below.begin(), below.end());
                }
                walk.levelRequests.clear();
                if (client != XCB_NONE) {
                    walk.shown = client;
                    walk.stage = Stage::Read;
                } else if (nextLevel.empty() || walk.depth >= kMostSearchLevels) {
                    walk.shown = walk.top;  // holds no client: listed as it is
                    walk.stage = Stage::Read;
                } else {
                    walk.level = std::move(nextLevel);
                    ++walk.depth;
                }
                break;
            }
            case Stage::Read:
            case Stage::ReadWmName: {
                ReadTexts texts = reader.Collect(walk.texts);
                if (texts.windowGone) walk.stage = Stage::Gone;
                else takeTitle(walk, texts);
                break;
            }
            case Stage::Done:
            case Stage::Gone: break;
        }
    };

    // Each round sends the requests of every window's current stage, then reads them.
    for (;;) {
        std::vector<TopLevelWalk*> active;
        for (TopLevelWalk& walk : walks)
            if (send(walk)) active.push_back(&walk);
        if (active.empty()) break;
        for (TopLevelWalk* walk : active) receive(*walk);
    }

    std::vector<TopLevelWindow> windows;
    windows.reserve(walks.size());
    for (TopLevelWalk& walk : walks)
        if (walk.stage == Stage::Done)
            windows.push_back({static_cast<WindowHandle>(walk.shown), std::move(walk.title)});
    return windows;
}

}  // namespace pelmora
