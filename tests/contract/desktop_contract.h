// SPDX-License-Identifier: MIT
// What every Desktop promises, whatever draws the screen: the pointer, pixels and areas on
// and off the screen, the window at a point, its place, window texts and the top-level walk. Each
// backend's suite instantiates it with a traits type that puts windows of known pictures
// and titles on its screen:
//
//   struct Traits {
//       Traits();                          // the desktop and whatever shows windows on it
//       pelmora::Desktop& desktop();
//       // A borderless window on top of the others showing picture at (left, top), titled
//       // title, of class kWindowClass; shown until the object goes.
//       std::unique_ptr<Window> Show(int left, int top, const Surface& picture, const std::string& title);
//       void Raise(Window&);               // to the top of the stacking order
//       bool WaitForPixel(ScreenPoint, std::int32_t colour);  // until the screen shows it there
//       void MovePointer(ScreenPoint);     // as another program moves it, back once moved
//       bool PointerReaches(ScreenPoint);  // until the system says the pointer is there
//       std::string TitleAsRead(const std::string& title);  // what the platform keeps of a title
//       static constexpr const char* kWindowClass;
//   };
//   Window: WindowHandle Handle() const; void Destroy();
#pragma once

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace pelmora::contract {

// A picture whose every pixel has a colour of its own, so that a shifted row or column shows.
inline std::int32_t PatternColour(int x, int y) { return (x * 6) | (y * 6) << 8 | 0x80 << 16; }
inline Surface Pattern(int width, int height) {
    Surface pattern(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pattern.SetPixel(x, y, PatternColour(x, y));
    return pattern;
}

// A value no screen pixel has (colour values keep their top byte clear).
inline constexpr std::int32_t kUntouched = -2;

// The first pixel where area differs from expected, or an empty text when all agree.
inline std::string FirstDifference(const Surface& area, const Surface& expected) {
    if (area.Width() != expected.Width() || area.Height() != expected.Height()) return "sizes differ";
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x)
            if (area.Pixel(x, y) != expected.Pixel(x, y))
                return "at (" + std::to_string(x) + ", " + std::to_string(y) + "): read " +
                       std::to_string(area.Pixel(x, y)) + ", expected " + std::to_string(expected.Pixel(x, y));
    return "";
}

template <typename Traits>
class DesktopContract : public ::testing::Test {
protected:
    Traits traits;
    Desktop& desktop = traits.desktop();
    const ScreenRegion screen = desktop.AllMonitors();
    int Right() const { return screen.left + screen.width; }
    int Bottom() const { return screen.top + screen.height; }
};

TYPED_TEST_SUITE_P(DesktopContract);

TYPED_TEST_P(DesktopContract, PointerIsWhereTheSystemHasItAndGoesWhereItIsSet) {
    this->traits.MovePointer({123, 45});
    EXPECT_EQ(this->desktop.PointerPos(), (ScreenPoint{123, 45}));
    for (const ScreenPoint point : {ScreenPoint{200, 300}, ScreenPoint{7, 700}}) {
        this->desktop.SetPointerPos(point);
        EXPECT_TRUE(this->traits.PointerReaches(point)) << point.x << "," << point.y;
        EXPECT_EQ(this->desktop.PointerPos(), point);
    }
}

TYPED_TEST_P(DesktopContract, PixelsOfAWindowReadInTheirColoursAndMinusOneOffTheScreen) {
    constexpr std::int32_t kColour = 0x563412;  // every channel different: swapped red and blue show
    const auto window = this->traits.Show(50, 60, Surface(40, 30, kColour), "coloured");
    ASSERT_TRUE(this->traits.WaitForPixel({50, 60}, kColour));
    EXPECT_EQ(this->desktop.Pixel(60, 70), kColour);
    EXPECT_EQ(this->desktop.Pixel(89, 89), kColour);

    const ScreenRegion& s = this->screen;
    ASSERT_GT(s.width, 0);
    ASSERT_GT(s.height, 0);
    EXPECT_NE(this->desktop.Pixel(this->Right() - 1, this->Bottom() - 1), -1);
    EXPECT_EQ(this->desktop.Pixel(s.left - 1, s.top), -1);
    EXPECT_EQ(this->desktop.Pixel(s.left, s.top - 1), -1);
    EXPECT_EQ(this->desktop.Pixel(this->Right(), s.top), -1);
    EXPECT_EQ(this->desktop.Pixel(s.left, this->Bottom()), -1);
}

TYPED_TEST_P(DesktopContract, AreasCopyTheRectangleRowByRowAtEverySize) {
    const auto window = this->traits.Show(200, 150, Pattern(40, 40), "pattern");
    ASSERT_TRUE(this->traits.WaitForPixel({239, 189}, PatternColour(39, 39)));
    // The magnifier's 11 x 11 and the cursor's 32 x 32, from inside the window.
    for (const int side : {11, 32}) {
        Surface area(side, side, kUntouched);
        this->desktop.ReadArea(205, 153, area);
        Surface expected(side, side);
        expected.BitBlt(0, 0, side, side, Pattern(40, 40), 5, 3);
        EXPECT_EQ(FirstDifference(area, expected), "") << side;
    }
    // A larger one with the window inside it.
    Surface large(300, 200, kUntouched);
    this->desktop.ReadArea(150, 100, large);
    Surface inside(40, 40);
    inside.BitBlt(0, 0, 40, 40, large, 50, 50);
    EXPECT_EQ(FirstDifference(inside, Pattern(40, 40)), "");
}

TYPED_TEST_P(DesktopContract, AreasPartlyOffTheScreenFillOnlyTheirOnScreenPart) {
    const int l = this->screen.left, t = this->screen.top, r = this->Right(), b = this->Bottom();
    const std::int32_t colours[] = {0x302010, 0x605040, 0x908070, 0xC0B0A0};
    const ScreenPoint corners[] = {{l, t}, {r - 8, t}, {l, b - 8}, {r - 8, b - 8}};
    std::vector<decltype(this->traits.Show(0, 0, Surface(), ""))> windows;
    for (int corner = 0; corner < 4; ++corner) {
        windows.push_back(
            this->traits.Show(corners[corner].x, corners[corner].y, Surface(8, 8, colours[corner]), "corner"));
        ASSERT_TRUE(this->traits.WaitForPixel(corners[corner], colours[corner])) << corner;
    }

    // Small reads over each corner, half off the screen.
    const ScreenPoint smallAt[] = {{l - 5, t - 7}, {r - 5, t - 7}, {l - 5, b - 3}, {r - 5, b - 3}};
    for (int corner = 0; corner < 4; ++corner) {
        Surface area(10, 10, kUntouched);
        this->desktop.ReadArea(smallAt[corner].x, smallAt[corner].y, area);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                const int sx = smallAt[corner].x + x, sy = smallAt[corner].y + y;
                const bool onScreen = sx >= l && sy >= t && sx < r && sy < b;
                ASSERT_EQ(area.Pixel(x, y), onScreen ? colours[corner] : kUntouched) << corner << ": " << x << "," << y;
            }
    }

    // One read past every edge at once: the whole screen framed by untouched pixels.
    const int w = this->screen.width, h = this->screen.height;
    Surface whole(w, h, kUntouched);
    this->desktop.ReadArea(l, t, whole);
    Surface large(w + 12, h + 9, kUntouched);
    this->desktop.ReadArea(l - 5, t - 4, large);
    Surface framed(w + 12, h + 9, kUntouched);
    framed.BitBlt(5, 4, w, h, whole, 0, 0);
    EXPECT_EQ(FirstDifference(large, framed), "");
    EXPECT_EQ(large.Pixel(5, 4), colours[0]);
    EXPECT_EQ(large.Pixel(4 + w, 4), colours[1]);
    EXPECT_EQ(large.Pixel(5, 3 + h), colours[2]);
    EXPECT_EQ(large.Pixel(4 + w, 3 + h), colours[3]);
}

TYPED_TEST_P(DesktopContract, AreasWhollyOffTheScreenChangeNothing) {
    const int l = this->screen.left, t = this->screen.top;
    const ScreenPoint outside[] = {{l - 100, t},      {l, t - 100},      {this->Right(), t}, {l, this->Bottom()},
                                   {INT_MAX - 50, t}, {l, INT_MAX - 50}, {INT_MIN, INT_MIN}};
    for (const ScreenPoint at : outside)
        for (const int side : {8, 100}) {  // small areas and large ones may travel differently
            Surface area(side, 100, kUntouched);
            this->desktop.ReadArea(at.x, at.y, area);
            EXPECT_EQ(FirstDifference(area, Surface(side, 100, kUntouched)), "") << at.x << "," << at.y << " " << side;
        }
}

TYPED_TEST_P(DesktopContract, WindowAtAndItsTextsNameTheWindowUntilItIsGone) {
    const std::string title = "Pelmora 测试 Prüfung";
    auto window = this->traits.Show(500, 300, Surface(50, 50, 0x0000FF), title);
    ASSERT_TRUE(this->traits.WaitForPixel({500, 300}, 0x0000FF));
    const WindowHandle handle = this->desktop.WindowAt({520, 320});
    EXPECT_EQ(handle, window->Handle());
    const WindowTexts texts = this->desktop.ReadWindowTexts(handle);
    EXPECT_EQ(texts.title, this->traits.TitleAsRead(title));
    EXPECT_EQ(texts.className, TypeParam::kWindowClass);
    // A borderless window is its own frame and client area.
    const WindowPlace place = this->desktop.PlaceOfWindow(handle);
    EXPECT_EQ(place.state, WindowState::kShown);
    EXPECT_EQ(place.frame, (ScreenRegion{500, 300, 50, 50}));
    EXPECT_EQ(place.client, place.frame);

    window->Destroy();
    EXPECT_EQ(this->desktop.PlaceOfWindow(handle).state, WindowState::kGone);
    const WindowTexts gone = this->desktop.ReadWindowTexts(handle);
    EXPECT_EQ(gone.title, "");
    EXPECT_EQ(gone.className, "");
    EXPECT_EQ(this->desktop.ReadWindowTexts(0).className, "");
}

TYPED_TEST_P(DesktopContract, LongTitlesAreCutLikeTheTextBuffers) {
    const auto window = this->traits.Show(0, 500, Surface(10, 10), std::string(400, 'x'));
    EXPECT_EQ(this->desktop.ReadWindowTexts(window->Handle()).title, std::string(kWindowTextMaxBytes, 'x'));
}

TYPED_TEST_P(DesktopContract, TopLevelWindowsListWindowsFromTheTopWithTheirTitles) {
    auto first = this->traits.Show(600, 100, Surface(20, 20, 0x0000FF), "first of two");
    auto second = this->traits.Show(650, 100, Surface(20, 20, 0x00FF00), "second of two");
    ASSERT_TRUE(this->traits.WaitForPixel({650, 100}, 0x00FF00));
    const auto place = [&](WindowHandle handle, const std::string& title) -> std::ptrdiff_t {
        const std::vector<TopLevelWindow> windows = this->desktop.TopLevelWindows();
        for (std::size_t i = 0; i < windows.size(); ++i)
            if (windows[i].handle == handle) {
                EXPECT_EQ(windows[i].title, title);
                return static_cast<std::ptrdiff_t>(i);
            }
        ADD_FAILURE() << title << " not listed";
        return -1;
    };
    // The later shown window lies above; raising the first puts it above the second.
    EXPECT_LT(place(second->Handle(), "second of two"), place(first->Handle(), "first of two"));
    this->traits.Raise(*first);
    EXPECT_LT(place(first->Handle(), "first of two"), place(second->Handle(), "second of two"));
}

REGISTER_TYPED_TEST_SUITE_P(DesktopContract, PointerIsWhereTheSystemHasItAndGoesWhereItIsSet,
                            PixelsOfAWindowReadInTheirColoursAndMinusOneOffTheScreen,
                            AreasCopyTheRectangleRowByRowAtEverySize, AreasPartlyOffTheScreenFillOnlyTheirOnScreenPart,
                            AreasWhollyOffTheScreenChangeNothing, WindowAtAndItsTextsNameTheWindowUntilItIsGone,
                            LongTitlesAreCutLikeTheTextBuffers, TopLevelWindowsListWindowsFromTheTopWithTheirTitles);

}  // namespace pelmora::contract
