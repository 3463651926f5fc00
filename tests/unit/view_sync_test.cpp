// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/view_sync.h"

using namespace pelmora;

namespace {

// A window of real controls with the bookkeeping a view keeps, and in place of the view a
// sync that only records what it was asked to redo.
struct SyncedWindow {
    ControlHost host;
    Frame frame;
    Label label;
    TextBox field;
    CheckBox check;
    ListBox list;
    Timer timer;
    ViewSync sync{host, [this] {
                      ++syncs;
                      work = sync.Take();
                  }};
    int syncs = 0;
    ViewWork work;  // what the last sync was asked to redo

    SyncedWindow() {
        frame.Place(host, nullptr, "Frame1", -1, {0, 0, 200, 100});
        label.Place(host, &frame, "Label1", -1, {10, 10, 60, 16});
        field.Place(host, &frame, "Text1", -1, {10, 30, 60, 20});
        timer.Place(host, nullptr, "Timer1", -1, {});
        check.Place(host, nullptr, "Check1", -1, {0, 110, 80, 20});
        list.Place(host, nullptr, "List1", -1, {0, 140, 80, 60});
        sync.Take();  // the view's first sync, made with its widgets
    }

    std::vector<const Control*> Mirrored() const {
        std::vector<const Control*> controls;
        for (const auto& [control, pointerChanged] : work.controls) controls.push_back(control);
        return controls;
    }
    bool PointerChanged(const Control& control) const {
        for (const auto& [mirrored, pointerChanged] : work.controls)
            if (mirrored == &control) return pointerChanged;
        ADD_FAILURE() << control.ObjectName() << " was not mirrored";
        return false;
    }
};

using Controls = std::vector<const Control*>;

TEST(ViewSyncControls, FirstTakeMirrorsEveryControlInOrderButNoTimer) {
    ControlHost host;
    Label label;
    Timer timer;
    TextBox field;
    label.Place(host, nullptr, "Label1", -1, {});
    timer.Place(host, nullptr, "Timer1", -1, {});
    field.Place(host, nullptr, "Text1", -1, {});
    ViewSync sync(host, [] {});
    const ViewWork work = sync.Take();
    ASSERT_EQ(work.controls.size(), 2u);
    EXPECT_EQ(work.controls[0].control, &label);
    EXPECT_EQ(work.controls[1].control, &field);
    EXPECT_FALSE(work.controls[0].pointerChanged);  // the default pointer is what a widget shows at first
    EXPECT_TRUE(work.timersToStart.empty());        // a timer starts disabled
    EXPECT_TRUE(work.timersToStop.empty());
    EXPECT_EQ(work.focus, nullptr);
    EXPECT_FALSE(work.pointerChanged);
    EXPECT_FALSE(work.visibilityChanged);
}

TEST(ViewSyncControls, OnlyControlsWhoseStateChangedAreMirroredAgain) {
    SyncedWindow w;
    EXPECT_TRUE(w.sync.Take().controls.empty());

    w.sync.Dispatch([&] {
        w.field.SetText("12");
        w.check.SetToolTip("tip");
    });
    EXPECT_EQ(w.syncs, 1);
    EXPECT_EQ(w.Mirrored(), (Controls{&w.field, &w.check}));

    // Text set to what it already is changes nothing: nothing to redo.
    w.sync.Dispatch([&] { w.field.SetText("12"); });
    EXPECT_TRUE(w.work.controls.empty());
}

TEST(ViewSyncControls, PointerChangedOnlyWhenThePointerDiffersFromTheOneShown) {
    SyncedWindow w;
    const PointerImage icon{Surface(2, 2, 0), 1, 1};
    w.sync.Dispatch([&] { w.label.SetMousePointer(MousePointer::SizeAll); });
    EXPECT_TRUE(w.PointerChanged(w.label));

    w.sync.Dispatch([&] { w.label.SetCaption("moved"); });
    EXPECT_FALSE(w.PointerChanged(w.label));

    // Another shape and back within one handler leaves the shown one right; a custom image
    // is a change.
    w.sync.Dispatch([&] {
        w.label.SetMousePointer(MousePointer::SizeNS);
        w.label.SetMousePointer(MousePointer::SizeAll);
    });
    EXPECT_FALSE(w.PointerChanged(w.label));
    w.sync.Dispatch([&] {
        w.label.SetMousePointer(MousePointer::Custom);
        w.label.SetMouseIcon(icon);
    });
    EXPECT_TRUE(w.PointerChanged(w.label));
}

TEST(ViewSyncControls, MirrorAllAgainRedoesEveryControlAndTheWindowPointerOnce) {
    SyncedWindow w;
    w.sync.MirrorAllAgain();
    w.sync.Dispatch([] {});
    EXPECT_EQ(w.Mirrored(), (Controls{&w.frame, &w.label, &w.field, &w.check, &w.list}));
    EXPECT_TRUE(w.work.pointerChanged);
    EXPECT_EQ(w.work.windowPointer, nullptr);
    EXPECT_FALSE(w.PointerChanged(w.label));  // the pointers shown over the controls stay
    EXPECT_FALSE(w.work.visibilityChanged);

    w.sync.Dispatch([] {});
    EXPECT_TRUE(w.work.controls.empty());
    EXPECT_FALSE(w.work.pointerChanged);
}

TEST(ViewSyncUserAction, ControlIsMirroredAgainEvenWhenTheHandlerLeftItUnchanged) {
    SyncedWindow w;
    // The widget checked itself when clicked, but the control's value stays 0 (its revision
    // does not move): the widget must show the control's value again.
    w.sync.DispatchUserAction(w.check, [&] { w.check.SetValue(0); });
    EXPECT_EQ(w.syncs, 1);
    EXPECT_EQ(w.Mirrored(), (Controls{&w.check}));

    // Once: the next sync has nothing left to redo.
    w.sync.Dispatch([] {});
    EXPECT_TRUE(w.work.controls.empty());
}

TEST(ViewSyncUserAction, OtherControlsFollowTheirOwnChangesOnly) {
    SyncedWindow w;
    w.sync.DispatchUserAction(w.field, [&] {
        w.field.SetText("7");
        w.label.SetCaption("seven");
    });
    EXPECT_EQ(w.Mirrored(), (Controls{&w.label, &w.field}));
}

TEST(ViewSyncUserAction, ControlIsMirroredAfterTheHandlerEvenWhenASyncRanInsideIt) {
    SyncedWindow w;
    // A handler that processes pending events (a nested event syncs the view) and changes
    // nothing afterwards: the last sync still mirrors the control acted on.
    w.sync.DispatchUserAction(w.list, [&] {
        w.list.AddItem("a");
        w.sync.Dispatch([] {});
        EXPECT_EQ(w.Mirrored(), (Controls{&w.list}));
    });
    EXPECT_EQ(w.syncs, 2);
    EXPECT_EQ(w.Mirrored(), (Controls{&w.list}));
}

TEST(ViewSyncWindow, FocusIsMovedForEachSetFocusOnce) {
    SyncedWindow w;
    w.sync.Dispatch([&] { w.field.SetFocus(); });
    EXPECT_EQ(w.work.focus, &w.field);
    w.sync.Dispatch([] {});
    EXPECT_EQ(w.work.focus, nullptr);
    // Focus set again to the control that had it: the user may have moved it since.
    w.sync.Dispatch([&] { w.field.SetFocus(); });
    EXPECT_EQ(w.work.focus, &w.field);
}

TEST(ViewSyncWindow, VisibilityIsRedoneForEachChange) {
    SyncedWindow w;
    w.sync.Dispatch([&] { w.host.SetWindowVisible(false); });
    EXPECT_TRUE(w.work.visibilityChanged);
    w.sync.Dispatch([] {});
    EXPECT_FALSE(w.work.visibilityChanged);
    w.sync.Dispatch([&] { w.host.SetWindowVisible(true); });
    EXPECT_TRUE(w.work.visibilityChanged);
}

TEST(ViewSyncWindow, WindowPointerIsTheCustomImageOnlyWhenItHasPixels) {
    SyncedWindow w;
    w.sync.Dispatch([&] { w.host.SetMousePointer(MousePointer::Custom); });
    EXPECT_TRUE(w.work.pointerChanged);
    EXPECT_EQ(w.work.windowPointer, nullptr);  // Custom without an image shows none

    w.sync.Dispatch([&] { w.host.SetMouseIcon({Surface(3, 2, 5), 1, 0}); });
    EXPECT_TRUE(w.work.pointerChanged);
    EXPECT_EQ(w.work.windowPointer, &w.host.MouseIcon());

    w.sync.Dispatch([] {});
    EXPECT_FALSE(w.work.pointerChanged);

    w.sync.Dispatch([&] { w.host.SetMousePointer(MousePointer::SizeAll); });
    EXPECT_TRUE(w.work.pointerChanged);
    EXPECT_EQ(w.work.windowPointer, nullptr);
    EXPECT_EQ(WindowPointerImage(w.host), nullptr);
}

// What the timer's countdown does at the last sync: "start", "stop" or "".
std::string TimerStep(const SyncedWindow& w) {
    const auto has = [&](const std::vector<const Timer*>& timers) {
        return std::find(timers.begin(), timers.end(), &w.timer) != timers.end();
    };
    EXPECT_FALSE(has(w.work.timersToStart) && has(w.work.timersToStop));
    return has(w.work.timersToStart) ? "start" : has(w.work.timersToStop) ? "stop" : "";
}

TEST(ViewSyncTimer, StartsWhenEnabledWithAnIntervalAndStopsWhenEitherGoes) {
    SyncedWindow w;
    w.sync.Dispatch([&] { w.timer.SetInterval(50); });
    EXPECT_EQ(TimerStep(w), "");  // still disabled: nothing was counting, nothing to stop
    w.sync.Dispatch([&] { w.timer.SetEnabled(true); });
    EXPECT_EQ(TimerStep(w), "start");
    EXPECT_TRUE(w.work.controls.empty());  // a timer has no widget to mirror

    w.sync.Dispatch([&] { w.timer.SetInterval(0); });
    EXPECT_EQ(TimerStep(w), "stop");
    w.sync.Dispatch([&] { w.timer.SetInterval(-5); });
    EXPECT_EQ(TimerStep(w), "");  // stopped already
    w.sync.Dispatch([&] { w.timer.SetInterval(20); });
    EXPECT_EQ(TimerStep(w), "start");  // enabled all along, counting again

    w.sync.Dispatch([&] { w.timer.SetEnabled(false); });
    EXPECT_EQ(TimerStep(w), "stop");
}

TEST(ViewSyncTimer, ANewRunRestartsTheCountdownAndTheSameRunKeepsIt) {
    SyncedWindow w;
    w.sync.Dispatch([&] {
        w.timer.SetInterval(100);
        w.timer.SetEnabled(true);
    });
    EXPECT_EQ(TimerStep(w), "start");

    // Enabled again while enabled: the same run, the countdown goes on.
    w.sync.Dispatch([&] { w.timer.SetEnabled(true); });
    EXPECT_EQ(TimerStep(w), "");

    // Off and on inside one handler: a new run counts its interval from now.
    w.sync.Dispatch([&] {
        w.timer.SetEnabled(false);
        w.timer.SetEnabled(true);
    });
    EXPECT_EQ(TimerStep(w), "start");

    // Laid out again: a counting timer goes on counting.
    w.sync.MirrorAllAgain();
    w.sync.Dispatch([] {});
    EXPECT_EQ(TimerStep(w), "");
}

// A window whose controls record the mouse events they raise, in order.
struct MouseWindow : SyncedWindow {
    std::vector<std::string> raised;

    MouseWindow() {
        for (Control* control : std::initializer_list<Control*>{&label, &list, &check}) {
            const std::string name = control->Name();
            control->onMouseDown = [this, name](const MouseEvent& e) { Record(name + " down", e); };
            control->onMouseUp = [this, name](const MouseEvent& e) { Record(name + " up", e); };
            control->onMouseMove = [this, name](const MouseEvent& e) { Record(name + " move", e); };
            control->onClick = [this, name] { raised.push_back(name + " click"); };
            control->onDblClick = [this, name] { raised.push_back(name + " dblclick"); };
        }
    }
    void Record(const std::string& what, const MouseEvent& e) {
        raised.push_back(what + " " + std::to_string(e.button) + "/" + std::to_string(e.shift) + " " +
                         std::to_string(e.x) + "," + std::to_string(e.y));
    }
    void Input(Control& control, MouseAction action, int button, bool onControl = true) {
        sync.RaiseMouse(control, {action, button, 0, 3, 4, onControl});
    }
};

TEST(ViewSyncMouse, EachEventIsDispatchedWithItsButtonShiftAndPosition) {
    MouseWindow w;
    w.sync.RaiseMouse(w.check, {MouseAction::Press, kRightButton, 2, -3, 40, false});
    EXPECT_EQ(w.syncs, 1);
    w.sync.RaiseMouse(w.check, {MouseAction::Move, kRightButton | kLeftButton, 1, 5, 6, true});
    w.sync.RaiseMouse(w.check, {MouseAction::Release, kRightButton, 0, 7, 8, true});
    EXPECT_EQ(w.raised,
              (std::vector<std::string>{"Check1 down 2/2 -3,40", "Check1 move 3/1 5,6", "Check1 up 2/0 7,8"}));
    EXPECT_EQ(w.syncs, 3);

    // A button the framework does not know presses and releases nothing.
    w.Input(w.check, MouseAction::Press, 0);
    w.Input(w.check, MouseAction::Release, 0);
    EXPECT_EQ(w.raised.size(), 3u);
    EXPECT_EQ(w.syncs, 3);
}

TEST(ViewSyncMouse, OnlyHandlersThatAreSetAreDispatchedAndADisabledControlRaisesNothing) {
    MouseWindow w;
    w.Input(w.field, MouseAction::Move, 0);  // a move over a control that does not listen
    w.Input(w.field, MouseAction::DoubleClick, kLeftButton);
    EXPECT_EQ(w.syncs, 0);

    w.label.SetEnabled(false);
    w.Input(w.label, MouseAction::Press, kLeftButton);
    w.Input(w.label, MouseAction::Move, kLeftButton);
    w.Input(w.label, MouseAction::Release, kLeftButton);
    w.Input(w.label, MouseAction::DoubleClick, kLeftButton);
    EXPECT_TRUE(w.raised.empty());
    EXPECT_EQ(w.syncs, 0);
}

TEST(ViewSyncMouse, ALabelIsClickedByALeftPressAndReleaseOnIt) {
    MouseWindow w;
    w.Input(w.label, MouseAction::Press, kLeftButton);
    w.Input(w.label, MouseAction::Release, kLeftButton);
    EXPECT_EQ(w.raised, (std::vector<std::string>{"Label1 down 1/0 3,4", "Label1 up 1/0 3,4", "Label1 click"}));

    w.raised.clear();
    w.Input(w.label, MouseAction::Release, kLeftButton, false);  // let go outside it
    w.Input(w.label, MouseAction::Release, kRightButton);
    w.Input(w.check, MouseAction::Release, kLeftButton);  // other controls click by their own notice
    EXPECT_EQ(w.raised, (std::vector<std::string>{"Label1 up 1/0 3,4", "Label1 up 2/0 3,4", "Check1 up 1/0 3,4"}));
}

TEST(ViewSyncMouse, TheReleaseEndingADoubleClickClicksNothing) {
    MouseWindow w;
    w.Input(w.label, MouseAction::Press, kLeftButton);
    w.Input(w.label, MouseAction::Release, kLeftButton);
    w.Input(w.label, MouseAction::DoubleClick, kLeftButton);
    w.Input(w.label, MouseAction::Move, kLeftButton);  // a move between changes nothing
    w.Input(w.label, MouseAction::Release, kLeftButton);
    EXPECT_EQ(std::count(w.raised.begin(), w.raised.end(), "Label1 click"), 1);
    EXPECT_EQ(std::count(w.raised.begin(), w.raised.end(), "Label1 dblclick"), 1);

    // The next press and release click again.
    w.raised.clear();
    w.Input(w.label, MouseAction::Press, kLeftButton);
    w.Input(w.label, MouseAction::Release, kLeftButton);
    EXPECT_EQ(w.raised.back(), "Label1 click");
}

TEST(ViewSyncMouse, EveryLeftPressStartsAfreshAfterADoubleClick) {
    MouseWindow w;
    // The double click's release went elsewhere (to a dialog it opened), even to a
    // disabled control: the next click on the label is a click.
    w.Input(w.check, MouseAction::DoubleClick, kLeftButton);
    w.Input(w.label, MouseAction::Press, kLeftButton);
    w.Input(w.label, MouseAction::Release, kLeftButton);
    EXPECT_EQ(w.raised.back(), "Label1 click");

    // A double click on a disabled control still ends in a release that clicks nothing.
    w.raised.clear();
    w.field.SetEnabled(false);
    w.Input(w.field, MouseAction::DoubleClick, kLeftButton);
    w.Input(w.label, MouseAction::Release, kLeftButton);
    EXPECT_EQ(w.raised, (std::vector<std::string>{"Label1 up 1/0 3,4"}));

    // A right double click leaves the left button's account alone.
    w.raised.clear();
    w.Input(w.label, MouseAction::Press, kLeftButton);
    w.Input(w.label, MouseAction::DoubleClick, kRightButton);
    w.Input(w.label, MouseAction::Release, kLeftButton);
    EXPECT_EQ(w.raised.back(), "Label1 click");
}

TEST(ViewSyncMouse, AListRaisesNoDoubleClickFromTheMouse) {
    MouseWindow w;
    w.Input(w.list, MouseAction::DoubleClick, kLeftButton);
    w.Input(w.check, MouseAction::DoubleClick, kRightButton);
    EXPECT_EQ(w.raised, (std::vector<std::string>{"Check1 dblclick"}));
}

}  // namespace
