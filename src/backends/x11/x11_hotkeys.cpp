// SPDX-License-Identifier: MIT
#include "backends/x11/x11_hotkeys.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <algorithm>

namespace pelmora {

namespace {
constexpr int kKnownModifiers = kModAlt | kModControl | kModShift;
constexpr unsigned kHotkeyMask = ShiftMask | ControlMask | Mod1Mask;

// The keysym of a Windows virtual-key code; NoSymbol for keys this backend does not map.
KeySym KeysymOf(int virtualKey) {
    if (virtualKey >= '0' && virtualKey <= '9') return XK_0 + static_cast<KeySym>(virtualKey - '0');
    if (virtualKey >= 'A' && virtualKey <= 'Z') return XK_a + static_cast<KeySym>(virtualKey - 'A');
    switch (virtualKey) {
        case 37: return XK_Left;
        case 38: return XK_Up;
        case 39: return XK_Right;
        case 40: return XK_Down;
        case 44: return XK_Print;
        case 192: return XK_grave;
        default: return NoSymbol;
    }
}

unsigned ToXModifiers(int modifiers) {
    unsigned mask = 0;
    if (modifiers & kModAlt) mask |= Mod1Mask;
    if (modifiers & kModControl) mask |= ControlMask;
    if (modifiers & kModShift) mask |= ShiftMask;
    return mask;
}

// A grab matches the modifier state exactly, so a grab of Ctrl+Alt+1 alone receives
// nothing while CapsLock or NumLock is on: grab every combination of the two as well.
std::vector<unsigned> LockVariants(Display* display, unsigned modifiers) {
    // NumLock sits on whichever modifier the keymap binds it to (often, not always, Mod2).
    const unsigned numLock = XkbKeysymToModifiers(display, XK_Num_Lock);
    std::vector<unsigned> variants;
    for (const unsigned locks : {0u, static_cast<unsigned>(LockMask), numLock, LockMask | numLock}) {
        const unsigned variant = modifiers | locks;
        if (std::find(variants.begin(), variants.end(), variant) == variants.end()) variants.push_back(variant);
    }
    return variants;
}
}  // namespace

X11HotkeyService::X11HotkeyService(X11Connection& connection) : connection_(connection) {}

X11HotkeyService::~X11HotkeyService() {
    for (const auto& [id, grab] : grabs_) Ungrab(grab);
}

bool X11HotkeyService::Register(int id, int modifiers, int virtualKey) {
    Release(id);
    if (!connection_.Alive()) return false;
    const KeySym keysym = KeysymOf(virtualKey);
    if (keysym == NoSymbol || (modifiers & ~kKnownModifiers) != 0) return false;
    Display* display = connection_.display();
    const KeyCode keycode = XKeysymToKeycode(display, keysym);
    if (keycode == 0) return false;
    const unsigned mask = ToXModifiers(modifiers);
    // Two ids on one key would share one grab, and releasing either would end both.
    for (const auto& [other, grab] : grabs_)
        if (grab.keycode == keycode && grab.modifiers == mask) return false;

    Grab grab{keycode, mask, LockVariants(display, mask)};
    X11ErrorTrap trap(display);
    for (const unsigned variant : grab.variants)
        XGrabKey(display, keycode, variant, connection_.root(), False, GrabModeAsync, GrabModeAsync);
    if (trap.Failed()) {
        // Another client holds at least one combination (BadAccess). Let go of the ones
        // that were granted; ungrabbing touches only this client's own grabs.
        Ungrab(grab);
        return false;
    }
    grabs_.emplace(id, std::move(grab));
    return true;
}

bool X11HotkeyService::Release(int id) {
    const auto found = grabs_.find(id);
    if (found == grabs_.end()) return false;
    Ungrab(found->second);
    grabs_.erase(found);
    return true;
}

void X11HotkeyService::Ungrab(const Grab& grab) {
    if (!connection_.Alive()) return;
    for (const unsigned variant : grab.variants)
        XUngrabKey(connection_.display(), static_cast<int>(grab.keycode), variant, connection_.root());
    // Sent at once, so that another program can take the key right away.
    XFlush(connection_.display());
}

void X11HotkeyService::SetReceiver(std::function<void(int id)> receiver) { receiver_ = std::move(receiver); }

int X11HotkeyService::ConnectionFd() const { return ConnectionNumber(connection_.display()); }

void X11HotkeyService::ProcessPendingEvents() {
    if (!connection_.Alive()) return;
    Display* display = connection_.display();
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != KeyPress) continue;
        const unsigned modifiers = event.xkey.state & kHotkeyMask;
        const auto found = std::find_if(grabs_.begin(), grabs_.end(), [&](const auto& entry) {
            return entry.second.keycode == event.xkey.keycode && entry.second.modifiers == modifiers;
        });
        if (found == grabs_.end() || !receiver_) continue;
        // The handler may pump events and land here again, or replace the receiver.
        const auto receiver = receiver_;
        receiver(found->first);
    }
}

}  // namespace pelmora
