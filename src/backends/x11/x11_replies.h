// SPDX-License-Identifier: MIT
// The replies to xcb requests, owned. The error of a request that has a reply comes back
// with that reply instead of reaching Xlib's error handler: whoever sends a request here
// either reads its reply with Await or drops it with Forget, so no error ever reaches Xlib.
#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace pelmora {

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

// Drops the reply to a request, and its error, unread.
template <class Cookie>
void Forget(xcb_connection_t* xcb, Cookie cookie) {
    xcb_discard_reply(xcb, cookie.sequence);
}

}  // namespace pelmora
