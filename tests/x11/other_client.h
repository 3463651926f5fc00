// SPDX-License-Identifier: MIT
// A second X client inside the test: types keys through XTest and holds key grabs, the
// way another program on the same desktop would.
#pragma once

#include <X11/Xlib.h>

#include <vector>

namespace pelmora::testing {

class OtherClient {
public:
    OtherClient();
    ~OtherClient();
    OtherClient(const OtherClient&) = delete;
    OtherClient& operator=(const OtherClient&) = delete;

    Display* display() const { return display_; }
    // Holds the modifier keys down, then the key; each returns once the server has acted.
    void Press(KeySym key, const std::vector<KeySym>& modifiers = {});
    void Release(KeySym key, const std::vector<KeySym>& modifiers = {});
    void Tap(KeySym key, const std::vector<KeySym>& modifiers = {});
    // A passive grab on the root window; false when another client holds the combination.
    bool Grab(KeySym key, unsigned modifiers);
    // The modifier mask NumLock is bound to, and whether a lock modifier is on.
    unsigned NumLockMask() const;
    bool IsLocked(unsigned mask) const;
    // Taps the lock key when its modifier is not already in the wanted state.
    void SetLock(KeySym lockKey, unsigned mask, bool on);

private:
    void Key(KeySym key, bool down);
    Display* display_;
};

// Turns NumLock or CapsLock on for a scope and puts back the state it found.
class LockScope {
public:
    LockScope(OtherClient& client, KeySym lockKey, unsigned mask);
    ~LockScope();
    LockScope(const LockScope&) = delete;
    LockScope& operator=(const LockScope&) = delete;

private:
    OtherClient& client_;
    KeySym lockKey_;
    unsigned mask_;
    bool wasOn_;
};

}  // namespace pelmora::testing
