// SPDX-License-Identifier: MIT
// The X11 hotkey service against a real X server, with keys typed by another client.
#include <X11/keysym.h>

#include <vector>

#include "hotkey_fixture.h"

namespace pelmora::testing {
namespace {

using X11Hotkeys = HotkeyFixture;
using Ids = std::vector<int>;

constexpr int kCtrlAlt = kModControl | kModAlt;
constexpr unsigned kXCtrlAlt = ControlMask | Mod1Mask;

struct Case {
    int id, modifiers, virtualKey;
    KeySym key;
    std::vector<KeySym> held;
};

const Case kMappedKeys[] = {
    {1, kCtrlAlt, '1', XK_1, {XK_Control_L, XK_Alt_L}},
    {2, 0, 37, XK_Left, {}},
    {3, kModShift, 'Z', XK_z, {XK_Shift_L}},
    {4, kModAlt, 192, XK_grave, {XK_Alt_L}},
    {5, 0, 44, XK_Print, {}},
    {6, kModControl, '0', XK_0, {XK_Control_L}},
    {7, kModControl | kModShift, 'A', XK_a, {XK_Control_L, XK_Shift_L}},
    {8, 0, 40, XK_Down, {}},
};

TEST_F(X11Hotkeys, EachMappedKeyDeliversItsId) {
    for (const Case& c : kMappedKeys) ASSERT_TRUE(service->Register(c.id, c.modifiers, c.virtualKey)) << c.id;
    for (const Case& c : kMappedKeys) {
        fired.clear();
        other.Tap(c.key, c.held);
        ASSERT_TRUE(WaitForFired(1)) << c.id;
        Settle();
        EXPECT_EQ(fired, Ids{c.id});
    }
}

TEST_F(X11Hotkeys, LockModifiersDoNotHideTheKey) {
    const unsigned numLock = other.NumLockMask();
    ASSERT_NE(numLock, 0u) << "the keymap binds no modifier to NumLock";
    ASSERT_TRUE(service->Register(1, kCtrlAlt, '1'));
    ASSERT_TRUE(service->Register(2, 0, 38));
    const auto typeBoth = [&] {
        fired.clear();
        other.Tap(XK_1, {XK_Control_L, XK_Alt_L});
        other.Tap(XK_Up);
        ASSERT_TRUE(WaitForFired(2));
        EXPECT_EQ(fired, (Ids{1, 2}));
    };
    {
        LockScope numLockOn(other, XK_Num_Lock, numLock);
        ASSERT_TRUE(other.IsLocked(numLock));
        typeBoth();
        LockScope capsLockOn(other, XK_Caps_Lock, LockMask);
        ASSERT_TRUE(other.IsLocked(LockMask));
        typeBoth();
    }
    LockScope capsLockOnly(other, XK_Caps_Lock, LockMask);
    typeBoth();
}

TEST_F(X11Hotkeys, FiresOnThePressNotTheRelease) {
    ASSERT_TRUE(service->Register(9, 0, 39));
    other.Press(XK_Right);
    ASSERT_TRUE(WaitForFired(1));
    other.Release(XK_Right);
    Settle();
    EXPECT_EQ(fired, Ids{9});
}

TEST_F(X11Hotkeys, KeyHeldByAnotherProgramFailsAndTheRestGoOn) {
    ASSERT_TRUE(service->Register(1, 0, 37));
    ASSERT_TRUE(other.Grab(XK_2, kXCtrlAlt));

    EXPECT_FALSE(service->Register(2, kCtrlAlt, '2'));
    ASSERT_TRUE(service->Register(3, kCtrlAlt, '3'));
    other.Tap(XK_2, {XK_Control_L, XK_Alt_L});
    other.Tap(XK_3, {XK_Control_L, XK_Alt_L});
    other.Tap(XK_Left);
    ASSERT_TRUE(WaitForFired(2));
    Settle();
    EXPECT_EQ(fired, (Ids{3, 1}));
    // The lock combinations granted before the refusal were given back.
    EXPECT_TRUE(other.Grab(XK_2, kXCtrlAlt | LockMask));
    EXPECT_TRUE(other.Grab(XK_2, kXCtrlAlt | other.NumLockMask()));
}

TEST_F(X11Hotkeys, ReleaseStopsDeliveryAndFreesEveryCombination) {
    ASSERT_TRUE(service->Register(1, kModControl, 'A'));
    other.Tap(XK_a, {XK_Control_L});
    ASSERT_TRUE(WaitForFired(1));

    EXPECT_TRUE(service->Release(1));
    EXPECT_FALSE(service->Release(1));
    other.Tap(XK_a, {XK_Control_L});
    Settle();
    EXPECT_EQ(fired, Ids{1});
    for (const unsigned locks : {0u, static_cast<unsigned>(LockMask), other.NumLockMask()})
        EXPECT_TRUE(other.Grab(XK_a, ControlMask | locks)) << locks;
}

TEST_F(X11Hotkeys, RegisteringAnIdAgainReplacesItsKey) {
    ASSERT_TRUE(service->Register(4, kModAlt, 'B'));
    ASSERT_TRUE(service->Register(4, kModAlt, 'C'));
    other.Tap(XK_b, {XK_Alt_L});
    other.Tap(XK_c, {XK_Alt_L});
    ASSERT_TRUE(WaitForFired(1));
    Settle();
    EXPECT_EQ(fired, Ids{4});
    EXPECT_TRUE(other.Grab(XK_b, Mod1Mask));
    EXPECT_FALSE(other.Grab(XK_c, Mod1Mask));
}

TEST_F(X11Hotkeys, RefusesWhatItCannotGrab) {
    EXPECT_FALSE(service->Register(1, 0, 112));  // F1: not mapped here
    EXPECT_FALSE(service->Register(1, 0, 0));
    EXPECT_FALSE(service->Register(1, 8, 'A'));  // the Windows-key flag
    EXPECT_FALSE(service->Release(1));
    ASSERT_TRUE(service->Register(2, kModControl, 'Q'));
    EXPECT_FALSE(service->Register(3, kModControl, 'Q'));  // one key, one id
    other.Tap(XK_q, {XK_Control_L});
    ASSERT_TRUE(WaitForFired(1));
    Settle();
    EXPECT_EQ(fired, Ids{2});
}

}  // namespace
}  // namespace pelmora::testing
