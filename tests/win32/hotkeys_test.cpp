// SPDX-License-Identifier: MIT
// The hotkey service against wine: keys registered with RegisterHotKey, pressed with
// SendInput while the test window has the focus, and the hook in front of the window's own
// procedure.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/hotkey_service.h"
#include "backends/win32/win32_hotkeys.h"
#include "pump_until.h"

namespace pelmora {
namespace {

// What happened, in order: "receiver 7", "after", "window 7" …
std::vector<std::string> events;

// The window's own procedure, which the hook must keep getting every message.
LRESULT CALLBACK OwnProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOTKEY) events.push_back("window " + std::to_string(wParam));
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateTestWindow(int x) {
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = OwnProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = L"PelmoraHotkeyTestWindow";
        return RegisterClassW(&windowClass) != 0;
    }();
    EXPECT_TRUE(registered);
    return CreateWindowExW(WS_EX_TOPMOST, L"PelmoraHotkeyTestWindow", L"hotkeys", WS_POPUP | WS_VISIBLE, x, 600, 80, 80,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Presses and releases the key with Ctrl and Alt held, as a user would.
void PressWithControlAlt(WORD key) {
    const WORD keys[] = {VK_CONTROL, VK_MENU, key};
    INPUT inputs[6] = {};
    for (int i = 0; i < 3; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        inputs[5 - i].type = INPUT_KEYBOARD;
        inputs[5 - i].ki.wVk = keys[i];
        inputs[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    ASSERT_EQ(SendInput(6, inputs, sizeof(INPUT)), 6u);
}

std::size_t Count(const std::string& event) {
    std::size_t count = 0;
    for (const std::string& e : events) count += e == event;
    return count;
}

WNDPROC ProcedureOf(HWND window) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)); }

class HotkeysTest : public testing::Test {
protected:
    void SetUp() override {
        events.clear();
        window_ = CreateTestWindow(100);
        ASSERT_NE(window_, nullptr);
        own_ = ProcedureOf(window_);
        // Hotkeys reach wine only while one of its windows has the X keyboard focus, which
        // follows the pointer when no window manager runs.
        SetCursorPos(140, 640);
        SetForegroundWindow(window_);
        SetFocus(window_);
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == window_; }));
    }
    void TearDown() override {
        if (window_) DestroyWindow(window_);
    }

    HWND window_ = nullptr;
    WNDPROC own_ = nullptr;
};

TEST_F(HotkeysTest, HookHandsHotkeysToTheReceiverThenToTheWindowAndGoesAgain) {
    {
        Win32HotkeyService service;
        service.AttachWindow(window_);
        service.afterHotkey = [] { events.push_back("after"); };
        service.SetReceiver([](int id) { events.push_back("first " + std::to_string(id)); });
        const WNDPROC hooked = ProcedureOf(window_);
        EXPECT_NE(hooked, own_);
        // A second receiver replaces the first without hooking twice.
        service.SetReceiver([](int id) { events.push_back("receiver " + std::to_string(id)); });
        EXPECT_EQ(ProcedureOf(window_), hooked);
        ASSERT_TRUE(service.Register(7, kModControl | kModAlt, '1'));

        PressWithControlAlt('1');
        ASSERT_TRUE(PumpUntil([] { return Count("window 7") == 1; }));
        EXPECT_EQ(events, (std::vector<std::string>{"receiver 7", "after", "window 7"}));

        // Without a receiver the window has its own procedure back, which alone sees the key.
        service.SetReceiver(nullptr);
        EXPECT_EQ(ProcedureOf(window_), own_);
        events.clear();
        PressWithControlAlt('1');
        ASSERT_TRUE(PumpUntil([] { return Count("window 7") == 1; }));
        EXPECT_EQ(events, std::vector<std::string>{"window 7"});

        // Hooked again, and left hooked for the destructor to undo.
        service.SetReceiver([](int) {});
        EXPECT_NE(ProcedureOf(window_), own_);
    }
    EXPECT_EQ(ProcedureOf(window_), own_);
}

TEST_F(HotkeysTest, ReceiverMayClearItselfWhileHandlingAHotkey) {
    Win32HotkeyService service;
    service.AttachWindow(window_);
    service.SetReceiver([&service](int id) {
        events.push_back("receiver " + std::to_string(id));
        service.SetReceiver(nullptr);
    });
    ASSERT_TRUE(service.Register(3, kModControl | kModAlt, '2'));
    PressWithControlAlt('2');
    ASSERT_TRUE(PumpUntil([] { return Count("window 3") == 1; }));
    EXPECT_EQ(events, (std::vector<std::string>{"receiver 3", "window 3"}));
    EXPECT_EQ(ProcedureOf(window_), own_);
}

TEST_F(HotkeysTest, KeyHeldElsewhereCannotBeRegisteredUntilReleased) {
    HWND other = CreateTestWindow(300);
    Win32HotkeyService holder;
    holder.AttachWindow(other);
    Win32HotkeyService service;
    service.AttachWindow(window_);

    ASSERT_TRUE(holder.Register(1, kModControl | kModShift, 'Q'));
    EXPECT_FALSE(service.Register(2, kModControl | kModShift, 'Q'));
    EXPECT_TRUE(service.Register(2, kModControl | kModShift | kModAlt, 'Q'));  // other modifiers: another key

    EXPECT_FALSE(holder.Release(9));  // never registered
    EXPECT_TRUE(holder.Release(1));
    EXPECT_FALSE(holder.Release(1));  // released already
    EXPECT_TRUE(service.Register(3, kModControl | kModShift, 'Q'));
    DestroyWindow(other);
}

TEST_F(HotkeysTest, DestructorReleasesTheKeys) {
    {
        Win32HotkeyService service;
        service.AttachWindow(window_);
        ASSERT_TRUE(service.Register(4, kModAlt, VK_F9));
        ASSERT_TRUE(service.Register(5, kModControl, VK_F10));
    }
    Win32HotkeyService next;
    next.AttachWindow(window_);
    EXPECT_TRUE(next.Register(6, kModAlt, VK_F9));
    EXPECT_TRUE(next.Register(7, kModControl, VK_F10));
}

TEST_F(HotkeysTest, NothingIsRegisteredOrHookedWithoutAWindow) {
    Win32HotkeyService service;
    EXPECT_FALSE(service.Register(1, kModAlt, VK_F8));
    service.SetReceiver([](int) {});
    EXPECT_EQ(ProcedureOf(window_), own_);
}

}  // namespace
}  // namespace pelmora
