// SPDX-License-Identifier: MIT
#include "other_client.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <iterator>

#include "backends/x11/x11_connection.h"

namespace pelmora::testing {

OtherClient::OtherClient() : display_(XOpenDisplay(nullptr)) {}

OtherClient::~OtherClient() {
    if (display_) XCloseDisplay(display_);
}

void OtherClient::Key(KeySym key, bool down) {
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, key), down ? True : False, CurrentTime);
}

void OtherClient::Press(KeySym key, const std::vector<KeySym>& modifiers) {
    for (const KeySym modifier : modifiers) Key(modifier, true);
    Key(key, true);
    XSync(display_, False);
}

void OtherClient::Release(KeySym key, const std::vector<KeySym>& modifiers) {
    Key(key, false);
    for (auto modifier = std::rbegin(modifiers); modifier != std::rend(modifiers); ++modifier) Key(*modifier, false);
    XSync(display_, False);
}

void OtherClient::Tap(KeySym key, const std::vector<KeySym>& modifiers) {
    Press(key, modifiers);
    Release(key, modifiers);
}

bool OtherClient::Grab(KeySym key, unsigned modifiers) {
    X11ErrorTrap trap(display_);
    XGrabKey(display_, XKeysymToKeycode(display_, key), modifiers, DefaultRootWindow(display_), False, GrabModeAsync,
             GrabModeAsync);
    return !trap.Failed();
}

unsigned OtherClient::NumLockMask() const { return XkbKeysymToModifiers(display_, XK_Num_Lock); }

bool OtherClient::IsLocked(unsigned mask) const {
    XkbStateRec state;
    XkbGetState(display_, XkbUseCoreKbd, &state);
    return (state.locked_mods & mask) != 0;
}

void OtherClient::SetLock(KeySym lockKey, unsigned mask, bool on) {
    if (IsLocked(mask) != on) Tap(lockKey);
}

LockScope::LockScope(OtherClient& client, KeySym lockKey, unsigned mask)
    : client_(client), lockKey_(lockKey), mask_(mask), wasOn_(client.IsLocked(mask)) {
    client_.SetLock(lockKey_, mask_, true);
}

LockScope::~LockScope() { client_.SetLock(lockKey_, mask_, wasOn_); }

}  // namespace pelmora::testing
