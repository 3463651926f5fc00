// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <map>

#include "form_fixture.h"
#include "hotkeys/hotkey_notation.h"
#include "hotkeys/set_hotkey.h"
#include "backends/fake/fake_hotkeys.h"

using namespace pelmora;

TEST(HotkeyNotation, ModifierWordsAreExactAndKeysAreNumbers) {
    const std::pair<const char*, std::optional<HotkeyKeys>> cases[] = {
        {"Ctrl+Alt,49", HotkeyKeys{3, 49}},
        {"44", HotkeyKeys{0, 44}},
        {"Alt,192", HotkeyKeys{1, 192}},
        {"Shift,65", HotkeyKeys{4, 65}},
        {"Shift+Alt,65", HotkeyKeys{5, 65}},
        {"Ctrl+Shift,65", HotkeyKeys{6, 65}},
        {"Ctrl+Alt+Shift,65", HotkeyKeys{7, 65}},
        {"Ctrl,65", HotkeyKeys{2, 65}},
        {"ctrl,49", HotkeyKeys{0, 49}},
        {"CTRL+ALT,49", HotkeyKeys{0, 49}},
        {"Alt+Ctrl,49", HotkeyKeys{0, 49}},
        {",49", HotkeyKeys{0, 49}},
        {"Alt, 192 ", HotkeyKeys{1, 192}},
        {"38.5", HotkeyKeys{0, 38}},
        {"39.5", HotkeyKeys{0, 40}},
        {"40abc", HotkeyKeys{0, 40}},
        {"", HotkeyKeys{0, 0}},
        {"Ctrl+Alt,abc", std::nullopt},
        {"Ctrl+Alt,", std::nullopt},
        {"Alt,1,2", std::nullopt},
        {"Alt,99999999999", std::nullopt},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(ParseHotkeyText(text), expected) << text;
}

namespace {

struct HookTest : ::testing::Test {
    FakeHotkeyService service;
    std::vector<int> dispatched;
    HotkeyHook hook{service, [this](int id) { dispatched.push_back(id); }};
};

}  // namespace

TEST_F(HookTest, FirstAddInstallsTheHookOnceAndPressesReachIt) {
    EXPECT_FALSE(hook.HookInstalled);
    EXPECT_EQ(hook.CurrentWndProc(), WindowProcedure::Own);
    hook.SetHotKey(1, "Ctrl+Alt,49", HotkeyAction::Add);
    EXPECT_TRUE(hook.HookInstalled);
    EXPECT_EQ(hook.CurrentWndProc(), WindowProcedure::HotKeyWndProc);
    EXPECT_EQ(hook.PreviousWndProc, WindowProcedure::Own);
    hook.SetHotKey(2, "Ctrl+Alt,50", HotkeyAction::Add);
    EXPECT_EQ(hook.PreviousWndProc, WindowProcedure::Own);  // not saved again over the hook

    EXPECT_TRUE(service.Press(3, 50));
    EXPECT_EQ(dispatched, std::vector<int>{2});
}

TEST_F(HookTest, ReleasingOneKeepsTheOthersDispatchedAndTheLastRestoresTheWindow) {
    hook.SetHotKey(1, "Ctrl+Alt,49", HotkeyAction::Add);
    hook.SetHotKey(11, "44", HotkeyAction::Add);
    hook.SetHotKey(11, "", HotkeyAction::Del);
    EXPECT_FALSE(hook.Registered(11));
    EXPECT_TRUE(hook.HookInstalled);
    EXPECT_TRUE(service.Press(3, 49));
    EXPECT_EQ(dispatched, std::vector<int>{1});

    hook.SetHotKey(1, "", HotkeyAction::Del);
    EXPECT_FALSE(hook.HookInstalled);
    EXPECT_EQ(hook.CurrentWndProc(), WindowProcedure::Own);
    EXPECT_TRUE(service.registered.empty());
    hook.SetHotKey(1, "", HotkeyAction::Del);  // again: installed and removed at once, ends on the window's own
    EXPECT_EQ(hook.CurrentWndProc(), WindowProcedure::Own);
}

TEST_F(HookTest, RefusedKeyCostsOnlyItselfAndUnparsableTextRegistersNothing) {
    service.heldElsewhere.insert({3, 50});
    hook.SetHotKey(1, "Ctrl+Alt,49", HotkeyAction::Add);
    hook.SetHotKey(2, "Ctrl+Alt,50", HotkeyAction::Add);
    hook.SetHotKey(3, "Ctrl+Alt,x", HotkeyAction::Add);
    EXPECT_FALSE(hook.Registered(2));
    EXPECT_FALSE(hook.Registered(3));
    EXPECT_FALSE(service.Press(3, 50));
    EXPECT_TRUE(service.Press(3, 49));
    EXPECT_EQ(dispatched, std::vector<int>{1});
}

TEST_F(HookTest, AnyOtherActionOnlyInstallsTheHookAndMarksIt) {
    hook.SetHotKey(5, "38", static_cast<HotkeyAction>(2));  // neither Add nor Del
    EXPECT_TRUE(hook.HookInstalled);
    EXPECT_TRUE(service.registered.empty());
    hook.SetHotKey(6, "38", HotkeyAction::Add);
    EXPECT_EQ(hook.PreviousWndProc, WindowProcedure::Own);  // never the hook itself
}

namespace {
struct FormHotkeysTest : FormOnFakeDesktop, ::testing::Test {};
}  // namespace

TEST_F(FormHotkeysTest, StartUpRegistersTheTableAndShutDownReleasesAll) {
    using Key = FakeHotkeyService::Key;
    std::map<int, Key> expected{{0, {1, 192}}, {1, {3, 49}},  {2, {3, 50}},  {3, {3, 51}},  {4, {3, 52}},
                                {5, {3, 53}},  {6, {3, 54}},  {7, {3, 55}},  {8, {3, 56}},  {9, {3, 57}},
                                {10, {3, 48}}, {12, {3, 81}}, {13, {3, 87}}, {14, {3, 69}}, {15, {0, 38}},
                                {16, {0, 37}}, {17, {0, 40}}, {18, {0, 39}}};
    EXPECT_EQ(fake.hotkeys.registered, expected);
    EXPECT_TRUE(form.hotkeyHook.HookInstalled);
    form.Form_Unload();
    EXPECT_TRUE(fake.hotkeys.registered.empty());
    EXPECT_EQ(form.hotkeyHook.CurrentWndProc(), WindowProcedure::Own);
    EXPECT_FALSE(form.hotkeyHook.HookInstalled);
}
