// SPDX-License-Identifier: MIT
#include "platform/view_sync.h"

namespace pelmora {

const PointerImage* WindowPointerImage(const ControlHost& host) {
    const PointerImage& icon = host.MouseIcon();
    const bool custom = host.Pointer() == MousePointer::Custom && icon.image.Width() > 0 && icon.image.Height() > 0;
    return custom ? &icon : nullptr;
}

ViewSync::ViewSync(const ControlHost& host, std::function<void()> sync) : host_(host), sync_(std::move(sync)) {}

ViewWork ViewSync::Take() {
    ViewWork work;
    for (Control* control : host_.Controls()) {
        Shown& shown = shown_[control];
        if (shown.mirrored && shown.revision == control->Revision()) continue;
        shown.mirrored = true;
        shown.revision = control->Revision();
        if (control->Kind() == ControlKind::Timer) {
            TakeTimer(static_cast<const Timer&>(*control), shown, work);
            continue;
        }
        const std::pair pointer{control->Pointer(), control->MouseIcon()};
        work.controls.push_back({control, std::exchange(shown.pointer, pointer) != pointer});
    }
    if (host_.Focused() && host_.FocusRevision() != focusRevision_) {
        focusRevision_ = host_.FocusRevision();
        work.focus = host_.Focused();
    }
    if (pointerForced_ || host_.PointerRevision() != pointerRevision_) {
        pointerForced_ = false;
        pointerRevision_ = host_.PointerRevision();
        work.pointerChanged = true;
        work.windowPointer = WindowPointerImage(host_);
    }
    if (host_.WindowRevision() != windowRevision_) {
        windowRevision_ = host_.WindowRevision();
        work.visibilityChanged = true;
    }
    return work;
}

void ViewSync::TakeTimer(const Timer& timer, Shown& shown, ViewWork& work) {
    if (!timer.Enabled() || timer.Interval() <= 0) {
        if (shown.timerCounting) work.timersToStop.push_back(&timer);
        shown.timerCounting = false;
    } else if (shown.timerRun != timer.Run() || !shown.timerCounting) {
        // A new run counts its interval from now, even when the last one was still counting.
        work.timersToStart.push_back(&timer);
        shown.timerCounting = true;
    }
    shown.timerRun = timer.Run();
}

void ViewSync::MirrorAllAgain() {
    for (auto& [control, shown] : shown_) shown.mirrored = false;
    pointerForced_ = true;
}

void ViewSync::Dispatch(const std::function<void()>& handler) {
    handler();
    sync_();
}

void ViewSync::DispatchUserAction(Control& control, const std::function<void()>& handler) {
    handler();
    // Asked after the handler: a sync inside it (a nested event) saw the control before
    // the handler was done with it.
    shown_[&control].mirrored = false;
    sync_();
}

void ViewSync::RaiseMouse(Control& control, const MouseInput& input) {
    bool endsDoubleClick = false;
    if (input.button == kLeftButton && input.action != MouseAction::Move) {
        if (input.action == MouseAction::Release) endsDoubleClick = leftDoubleClicked_;
        leftDoubleClicked_ = input.action == MouseAction::DoubleClick;
    }
    if (!control.Enabled()) return;
    const MouseEvent event{input.button, input.shift, input.x, input.y};
    switch (input.action) {
        case MouseAction::Press:
            if (input.button != 0 && control.onMouseDown)
                Dispatch([&control, event] { control.RaiseMouseDown(event); });
            break;
        case MouseAction::Release:
            if (input.button != 0 && control.onMouseUp) Dispatch([&control, event] { control.RaiseMouseUp(event); });
            // A label is clicked by a left press and release on it.
            if (control.Kind() == ControlKind::Label && input.button == kLeftButton && !endsDoubleClick &&
                input.onControl && control.onClick)
                Dispatch([&control] { control.RaiseClick(); });
            break;
        case MouseAction::Move:
            if (control.onMouseMove) Dispatch([&control, event] { control.RaiseMouseMove(event); });
            break;
        case MouseAction::DoubleClick:
            if (control.Kind() != ControlKind::ListBox && control.onDblClick)
                Dispatch([&control] { control.RaiseDblClick(); });
            break;
    }
}

}  // namespace pelmora
