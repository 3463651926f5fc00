// SPDX-License-Identifier: MIT
// Scripted hotkeys for tests: records what is registered, refuses keys that "another
// program" holds, and turns a simulated key press into the registered id.
#pragma once

#include <compare>
#include <functional>
#include <map>
#include <set>

#include "platform/hotkey_service.h"

namespace pelmora {

class FakeHotkeyService : public HotkeyService {
public:
    // A registered key: modifier flags and virtual-key code.
    struct Key {
        int modifiers;
        int virtualKey;
        // clang-tidy 14 takes the defaulted comparison's 0 for a null pointer.
        auto operator<=>(const Key&) const = default;  // NOLINT(modernize-use-nullptr)
    };

    // Registering an id again replaces its key; a key held elsewhere or by another id fails.
    bool Register(int id, int modifiers, int virtualKey) override {
        registered.erase(id);
        const Key key{modifiers, virtualKey};
        if (heldElsewhere.contains(key)) return false;
        for (const auto& [other, held] : registered)
            if (held == key) return false;
        registered.emplace(id, key);
        return true;
    }
    bool Release(int id) override { return registered.erase(id) > 0; }
    void SetReceiver(std::function<void(int id)> receiver) override { receiver_ = std::move(receiver); }

    // Delivers the id registered for the key, if any; tells whether one matched.
    bool Press(int modifiers, int virtualKey) {
        for (const auto& [id, key] : registered) {
            if (key != Key{modifiers, virtualKey}) continue;
            const int matched = id;  // the receiver may change the registrations
            if (receiver_) receiver_(matched);
            return true;
        }
        return false;
    }

    std::map<int, Key> registered;  // by id
    std::set<Key> heldElsewhere;    // keys "another program" holds: Register fails

private:
    std::function<void(int id)> receiver_;
};

}  // namespace pelmora
