// SPDX-License-Identifier: MIT
#include "backends/x11/x11_window_text.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/desktop.h"
#include "platform/utf8_encoding.h"
#include "base/utf8_text.h"
#include "backends/x11/x11_replies.h"

namespace pelmora {

namespace {

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

}  // namespace

X11WindowTextReader::Requests X11WindowTextReader::Ask(xcb_window_t window, Parts parts) const {
    Requests requests;
    requests.window = window;
    requests.parts = parts;
    if (parts.netWmName)
        requests.netWmName = xcb_get_property(xcb_, 0, window, netWmName_, XCB_GET_PROPERTY_TYPE_ANY, 0, kTextUnits);
    if (parts.wmName)
        requests.wmName = xcb_get_property(xcb_, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, kTextUnits);
    if (parts.wmClass)
        requests.wmClass =
            xcb_get_property(xcb_, 0, window, XCB_ATOM_WM_CLASS, XCB_GET_PROPERTY_TYPE_ANY, 0, kClassUnits);
    return requests;
}

void X11WindowTextReader::Forget(const Requests& requests) const {
    if (requests.parts.netWmName) pelmora::Forget(xcb_, requests.netWmName);
    if (requests.parts.wmName) pelmora::Forget(xcb_, requests.wmName);
    if (requests.parts.wmClass) pelmora::Forget(xcb_, requests.wmClass);
}

X11WindowTextReader::Texts X11WindowTextReader::Collect(const Requests& requests) const {
    const Parts& parts = requests.parts;
    RawText netWmName, wmName, wmClass;
    if (parts.netWmName) netWmName = ToRawText(Await(xcb_get_property_reply, xcb_, requests.netWmName));
    if (parts.wmName) wmName = ToRawText(Await(xcb_get_property_reply, xcb_, requests.wmName));
    if (parts.wmClass) wmClass = ToRawText(Await(xcb_get_property_reply, xcb_, requests.wmClass));
    Texts texts;
    if (netWmName.windowGone || wmName.windowGone || wmClass.windowGone) {
        texts.windowGone = true;
        return texts;
    }
    TextDecoder decoder(display_, xcb_, utf8String_);
    texts.title = decoder.Text(netWmName, TextKind::Utf8, 0, requests.window, netWmName_);
    if (texts.title.empty() && parts.wmName)
        texts.title = decoder.Text(wmName, decoder.KindOf(wmName.type), 0, requests.window, XCB_ATOM_WM_NAME);
    texts.titleNeedsWmName = texts.title.empty() && !parts.wmName;
    // WM_CLASS holds the instance name, then the class name.
    if (parts.wmClass)
        texts.className = decoder.Text(wmClass, decoder.KindOf(wmClass.type), 1, requests.window, XCB_ATOM_WM_CLASS);
    return texts;
}

}  // namespace pelmora
