// SPDX-License-Identifier: MIT
// A hotkey service whose presses run through the window's view, so that the widgets show
// what the hotkey's handler changed as soon as it returns.
#pragma once

#include <functional>

#include "platform/hotkey_service.h"
#include "backends/qt/form_view.h"

namespace pelmora {

class ViewHotkeys : public HotkeyService {
public:
    // inner registers the keys; the presses it delivers go through the view once attached.
    explicit ViewHotkeys(HotkeyService& inner) : inner_(inner) {}
    void AttachView(FormView& view) { view_ = &view; }

    bool Register(int id, int modifiers, int virtualKey) override { return inner_.Register(id, modifiers, virtualKey); }
    bool Release(int id) override { return inner_.Release(id); }
    void SetReceiver(std::function<void(int id)> receiver) override {
        if (!receiver) {
            inner_.SetReceiver(nullptr);
            return;
        }
        inner_.SetReceiver([this, receiver = std::move(receiver)](int id) {
            if (view_) view_->Dispatch([&] { receiver(id); });
            else receiver(id);
        });
    }

private:
    HotkeyService& inner_;
    FormView* view_ = nullptr;
};

}  // namespace pelmora
