// SPDX-License-Identifier: MIT
// The desktop backend against wine's real screen: windows painted in known colours at known
// places, read back through the pointer, pixel, area, window and cursor calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <optional>
#include <vector>

#include "capture/screen_grab.h"
#include "cursor/feature_code.h"
#include "platform/controls.h"
#include "backends/win32/win32_cursor.h"
#include "backends/win32/win32_desktop.h"
#include "backends/win32/win32_text.h"
#include "pump_until.h"

namespace pelmora {
namespace {

// The left half of a test window, and the right half: different in every channel, so a
// swapped red and blue shows.
constexpr COLORREF kLeftColour = RGB(255, 0, 0);
constexpr COLORREF kRightColour = RGB(0x12, 0x34, 0x56);
constexpr std::int32_t kLeftValue = 0x0000FF;  // 0x00BBGGRR
constexpr std::int32_t kRightValue = 0x563412;

WindowHandle HandleOf(HWND window) { return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(window)); }

LRESULT CALLBACK PaintedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT client;
            GetClientRect(window, &client);
            RECT left = client;
            left.right = client.right / 2;
            RECT right = client;
            right.left = left.right;
            HBRUSH leftBrush = CreateSolidBrush(kLeftColour);
            HBRUSH rightBrush = CreateSolidBrush(kRightColour);
            FillRect(dc, &left, leftBrush);
            FillRect(dc, &right, rightBrush);
            DeleteObject(leftBrush);
            DeleteObject(rightBrush);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_SETCURSOR:
            // The cursor the test gave the window (kept in its user data), or none.
            if (LOWORD(lParam) == HTCLIENT) {
                SetCursor(reinterpret_cast<HCURSOR>(GetWindowLongPtrW(window, GWLP_USERDATA)));
                return TRUE;
            }
            break;
        default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

constexpr const wchar_t* kClassName = L"PelmoraDesktopTestWindow";

void RegisterPaintedClass() {
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = PaintedProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        return RegisterClassW(&windowClass) != 0;
    }();
    ASSERT_TRUE(registered);
}

// A borderless topmost window painted kLeftColour | kRightColour, shown until destroyed.
class PaintedWindow {
public:
    PaintedWindow(int x, int y, int width, int height, const std::wstring& title) {
        RegisterPaintedClass();
        window_ = CreateWindowExW(WS_EX_TOPMOST, kClassName, title.c_str(), WS_POPUP | WS_VISIBLE, x, y, width, height,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        UpdateWindow(window_);
    }
    ~PaintedWindow() { Destroy(); }
    PaintedWindow(const PaintedWindow&) = delete;
    PaintedWindow& operator=(const PaintedWindow&) = delete;

    HWND get() const { return window_; }
    void Destroy() {
        if (window_) DestroyWindow(window_);
        window_ = nullptr;
    }

private:
    HWND window_ = nullptr;
};

class DesktopTest : public testing::Test {
protected:
    // Waits until the screen shows colour at (x, y): the window has been mapped and painted.
    bool WaitForScreen(std::int32_t x, std::int32_t y, std::int32_t colour) {
        return PumpUntil([&] { return desktop.Pixel(x, y) == colour; });
    }

    AnsiEncoding encoding;
    Win32Desktop desktop{encoding};
};

TEST_F(DesktopTest, PointerGoesWhereItIsSetAndIsReadBack) {
    for (const ScreenPoint point : {ScreenPoint{200, 150}, ScreenPoint{7, 1000}}) {
        desktop.SetPointerPos(point);
        EXPECT_TRUE(PumpUntil([&] { return desktop.PointerPos() == point; }))
            << "pointer at " << desktop.PointerPos().x << "," << desktop.PointerPos().y;
    }
}

TEST_F(DesktopTest, PixelsReadTheWindowsColoursAndMinusOneOffTheScreen) {
    const PaintedWindow window(100, 120, 60, 30, L"painted");
    ASSERT_TRUE(WaitForScreen(100, 120, kLeftValue));
    EXPECT_EQ(desktop.Pixel(129, 149), kLeftValue);
    EXPECT_EQ(desktop.Pixel(130, 120), kRightValue);
    EXPECT_EQ(desktop.Pixel(159, 149), kRightValue);

    const ScreenSize size = desktop.Size();
    ASSERT_GT(size.width, 0);
    ASSERT_GT(size.height, 0);
    EXPECT_NE(desktop.Pixel(size.width - 1, size.height - 1), -1);
    EXPECT_EQ(desktop.Pixel(-1, 0), -1);
    EXPECT_EQ(desktop.Pixel(0, -1), -1);
    EXPECT_EQ(desktop.Pixel(size.width, 0), -1);
    EXPECT_EQ(desktop.Pixel(0, size.height), -1);
}

TEST_F(DesktopTest, ReadAreaCopiesTheRectangleRowByRow) {
    const PaintedWindow window(300, 200, 40, 20, L"area");
    ASSERT_TRUE(WaitForScreen(300, 200, kLeftValue));
    Surface area(40, 20, 0x777777);
    desktop.ReadArea(300, 200, area);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(area.Pixel(x, y), x < 20 ? kLeftValue : kRightValue) << "at " << x << "," << y;

    // A rectangle starting inside the window: the copy starts at its top-left.
    Surface part(10, 5, 0x777777);
    desktop.ReadArea(315, 210, part);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(part.Pixel(x, y), x < 5 ? kLeftValue : kRightValue) << "at " << x << "," << y;
}

TEST_F(DesktopTest, ReadAreaLeavesTheTargetAsItWasOffTheScreen) {
    const PaintedWindow window(0, 0, 40, 40, L"corner");
    ASSERT_TRUE(WaitForScreen(0, 0, kLeftValue));
    constexpr std::int32_t kUntouched = 0x123456;
    Surface area(20, 20, kUntouched);
    desktop.ReadArea(-5, -7, area);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(area.Pixel(x, y), x < 5 || y < 7 ? kUntouched : kLeftValue) << "at " << x << "," << y;

    const ScreenSize size = desktop.Size();
    Surface beyond(8, 8, kUntouched);
    desktop.ReadArea(size.width, 0, beyond);
    desktop.ReadArea(-8, size.height - 4, beyond);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(beyond.Pixel(x, y), kUntouched);
}

TEST_F(DesktopTest, WindowAtAndItsTextsNameTheWindowUntilItIsGone) {
    const std::string title = "Pelmora 测试 Prüfung";
    PaintedWindow window(500, 300, 50, 50, Wide(title));
    ASSERT_TRUE(WaitForScreen(500, 300, kLeftValue));
    const WindowHandle handle = desktop.WindowAt({520, 320});
    EXPECT_EQ(handle, HandleOf(window.get()));

    // The title comes through the ANSI code page: what that code page lacks reads as "?".
    const WindowTexts texts = desktop.ReadWindowTexts(handle);
    EXPECT_EQ(texts.title, encoding.ToUtf8(encoding.FromUtf8(title)));
    EXPECT_EQ(texts.className, "PelmoraDesktopTestWindow");

    window.Destroy();
    const WindowTexts gone = desktop.ReadWindowTexts(handle);
    EXPECT_EQ(gone.title, "");
    EXPECT_EQ(gone.className, "");
    EXPECT_EQ(desktop.ReadWindowTexts(0).className, "");
}

TEST_F(DesktopTest, LongTitlesAreCutLikeTheTextBuffers) {
    const std::string title(400, 'x');
    const PaintedWindow window(0, 500, 10, 10, Wide(title));
    const WindowTexts texts = desktop.ReadWindowTexts(HandleOf(window.get()));
    EXPECT_EQ(texts.title, std::string(kWindowTextMaxBytes, 'x'));
}

TEST_F(DesktopTest, TopLevelWindowsListsWindowsFromTheTopWithTheirTitles) {
    const PaintedWindow first(600, 100, 20, 20, L"first of two");
    const PaintedWindow second(650, 100, 20, 20, L"second of two");
    ASSERT_TRUE(WaitForScreen(650, 100, kLeftValue));
    const auto place = [&](HWND window, const std::string& title) -> std::ptrdiff_t {
        const std::vector<TopLevelWindow> windows = desktop.TopLevelWindows();
        for (std::size_t i = 0; i < windows.size(); ++i)
            if (windows[i].handle == HandleOf(window)) {
                EXPECT_EQ(windows[i].title, title);
                return static_cast<std::ptrdiff_t>(i);
            }
        ADD_FAILURE() << title << " not listed";
        return -1;
    };
    // The later shown window lies above; raising the first puts it above the second.
    EXPECT_LT(place(second.get(), "second of two"), place(first.get(), "first of two"));
    SetWindowPos(first.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_LT(place(first.get(), "first of two"), place(second.get(), "second of two"));
}

// --- The cursor ----------------------------------------------------------------------

constexpr int kCursorSide = 32;
constexpr int kHotX = 3;
constexpr int kHotY = 2;

// The monochrome cursor's masks as bits per pixel: AND (keep the screen) and XOR (flip
// it). Together they give every kind of pixel: transparent (1, 0), black (0, 0), white
// (0, 1) and inverting (1, 1), in an irregular pattern so a misplaced row or column shows.
bool AndBit(int x, int y) { return y < 2 || (x + 2 * y) % 3 == 0; }
bool XorBit(int x, int y) { return y >= 2 && (x * 7 + y * 2) % 5 < 2; }

bool Inverting(int x, int y) { return AndBit(x, y) && XorBit(x, y); }

// The cursor of those masks; with invertingAsWhite, the same shape with its inverting
// pixels opaque white instead.
HCURSOR CreateMaskedCursor(bool invertingAsWhite = false) {
    std::vector<BYTE> andPlane(kCursorSide * kCursorSide / 8, 0);
    std::vector<BYTE> xorPlane(andPlane.size(), 0);
    for (int y = 0; y < kCursorSide; ++y)
        for (int x = 0; x < kCursorSide; ++x) {
            const std::size_t byte = static_cast<std::size_t>(y * kCursorSide + x) / 8;
            const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
            if (AndBit(x, y) && !(invertingAsWhite && Inverting(x, y))) andPlane[byte] |= bit;
            if (XorBit(x, y)) xorPlane[byte] |= bit;
        }
    return CreateCursor(GetModuleHandleW(nullptr), kHotX, kHotY, kCursorSide, kCursorSide, andPlane.data(),
                        xorPlane.data());
}

// A colour cursor: left half kLeftColour, right half kRightColour, wholly opaque.
HCURSOR CreateColourCursor() {
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateCompatibleBitmap(screen, kCursorSide, kCursorSide);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, colour);
    HBRUSH leftBrush = CreateSolidBrush(kLeftColour);
    HBRUSH rightBrush = CreateSolidBrush(kRightColour);
    const RECT left{0, 0, kCursorSide / 2, kCursorSide};
    const RECT right{kCursorSide / 2, 0, kCursorSide, kCursorSide};
    FillRect(memory, &left, leftBrush);
    FillRect(memory, &right, rightBrush);
    SelectObject(memory, old);
    DeleteObject(leftBrush);
    DeleteObject(rightBrush);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    const std::vector<BYTE> opaque(kCursorSide * kCursorSide / 8, 0);
    HBITMAP mask = CreateBitmap(kCursorSide, kCursorSide, 1, 1, opaque.data());
    ICONINFO info{FALSE, 5, 6, mask, colour};
    HCURSOR cursor = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    return cursor;
}

// A borderless topmost window of one colour (kept in a property) that, like PaintedWindow,
// shows the cursor kept in its user data.
constexpr const wchar_t* kFilledClassName = L"PelmoraDesktopTestFilledWindow";
constexpr const wchar_t* kFillProperty = L"PelmoraFill";

LRESULT CALLBACK FilledProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            const auto colour =
                static_cast<COLORREF>(reinterpret_cast<std::uintptr_t>(GetPropW(window, kFillProperty)));
            HBRUSH brush = CreateSolidBrush(colour);
            FillRect(dc, &paint.rcPaint, brush);
            DeleteObject(brush);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                SetCursor(reinterpret_cast<HCURSOR>(GetWindowLongPtrW(window, GWLP_USERDATA)));
                return TRUE;
            }
            break;
        default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class FilledWindow {
public:
    FilledWindow(int x, int y, int width, int height, COLORREF colour) {
        static const bool registered = [] {
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = FilledProcedure;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = kFilledClassName;
            return RegisterClassW(&windowClass) != 0;
        }();
        EXPECT_TRUE(registered);
        window_ = CreateWindowExW(WS_EX_TOPMOST, kFilledClassName, L"filled", WS_POPUP, x, y, width, height, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        Fill(colour);
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        UpdateWindow(window_);
    }
    ~FilledWindow() {
        RemovePropW(window_, kFillProperty);
        DestroyWindow(window_);
    }
    FilledWindow(const FilledWindow&) = delete;
    FilledWindow& operator=(const FilledWindow&) = delete;

    HWND get() const { return window_; }
    void Fill(COLORREF colour) {
        SetPropW(window_, kFillProperty, reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(colour)));
        InvalidateRect(window_, nullptr, TRUE);
        UpdateWindow(window_);
    }

private:
    HWND window_ = nullptr;
};

// The pointer over a window that shows cursor; the cursor read back once it is the one
// shown (the handle the system reports, and its hot spot, tell).
class CursorTest : public DesktopTest {
protected:
    void TearDown() override {
        for (HCURSOR cursor : cursors_) DestroyCursor(cursor);
    }

    CurrentCursor ShowOverWindow(HCURSOR cursor, int hotX, int hotY) {
        EXPECT_TRUE(WaitForScreen(700, 400, kLeftValue));
        return ShowOver(window_.get(), pointer_, cursor, hotX, hotY);
    }

    CurrentCursor ShowOver(HWND window, ScreenPoint pointer, HCURSOR cursor, int hotX, int hotY) {
        if (cursor) cursors_.push_back(cursor);
        EXPECT_NE(cursor, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cursor));
        SetForegroundWindow(window);
        desktop.SetPointerPos(pointer);
        SetCursor(cursor);
        CurrentCursor read;
        const bool shown = PumpUntil([&] {
            CURSORINFO info{};
            info.cbSize = sizeof info;
            read = desktop.ReadCursor();
            return GetCursorInfo(&info) && info.hCursor == cursor && read.known && read.image.hotX == hotX &&
                   read.image.hotY == hotY && read.position == pointer;
        });
        EXPECT_TRUE(shown) << "known " << read.known << ", hot spot " << read.image.hotX << "," << read.image.hotY;
        return read;
    }

    const ScreenPoint pointer_{720, 420};
    PaintedWindow window_{700, 400, 100, 100, L"cursor"};
    std::vector<HCURSOR> cursors_;
};

// What the work bitmap holds at (x, y) with the cursor's hot spot at (0, 0): the cursor's
// masks applied to black, which leaves the XOR mask; black outside the cursor.
std::uint32_t OverBlack(int x, int y) {
    const int cx = x + kHotX;
    const int cy = y + kHotY;
    if (cx < 0 || cy < 0 || cx >= kCursorSide || cy >= kCursorSide) return 0;
    return XorBit(cx, cy) ? 0xFFFFFF : 0;
}

// The feature code worked out from the masks: the method's points right of and below the
// hot spot, each read in a 16 x 16 bitmap (0xFFFFFFFF outside it), folded by adding and
// rotating right by the point's number.
std::uint32_t ExpectedFeatureCode(int method) {
    std::vector<std::pair<int, int>> points;
    if (method == 1)
        for (int i = 1; i <= 16; ++i) points.emplace_back(i, i);
    else if (method == 2)
        for (int i = 1; i <= 8; ++i) points.emplace_back(i + 8, i + 8);
    else
        for (int i = 1; i <= 10; ++i) points.emplace_back(i / 2 + 1, i);
    std::uint32_t code = 0;
    unsigned turn = 0;
    for (const auto& [x, y] : points) {
        const std::uint32_t sample = x < 16 && y < 16 ? OverBlack(x, y) : 0xFFFFFFFFu;
        ++turn;
        code += sample;
        code = (code >> turn) | (code << (32 - turn));
    }
    return code & 0x7FFFFFFF;
}

TEST_F(CursorTest, MaskedCursorImageHasItsHotSpotAndEveryKindOfPixel) {
    const CurrentCursor cursor = ShowOverWindow(CreateMaskedCursor(), kHotX, kHotY);
    ASSERT_TRUE(cursor.known);
    const CursorImage& image = cursor.image;
    ASSERT_GE(image.width, kCursorSide);
    ASSERT_GE(image.height, kCursorSide);
    ASSERT_EQ(image.pixels.size(), static_cast<std::size_t>(image.width) * image.height);
    for (int y = 0; y < kCursorSide; ++y)
        for (int x = 0; x < kCursorSide; ++x) {
            // Transparent: nothing; black and white: opaque; inverting: white over black and
            // black over white, so opaque white.
            std::uint32_t expected = 0;
            if (!AndBit(x, y)) expected = XorBit(x, y) ? 0xFFFFFFFF : 0xFF000000;
            else if (XorBit(x, y)) expected = 0xFFFFFFFF;
            ASSERT_EQ(image.pixels[static_cast<std::size_t>(y) * image.width + x], expected) << "at " << x << "," << y;
        }
}

TEST_F(CursorTest, ColourCursorKeepsRedAndBlueApart) {
    const CurrentCursor cursor = ShowOverWindow(CreateColourCursor(), 5, 6);
    ASSERT_TRUE(cursor.known);
    ASSERT_GE(cursor.image.width, kCursorSide);
    const auto at = [&](int x, int y) {
        return cursor.image.pixels[static_cast<std::size_t>(y) * cursor.image.width + x];
    };
    EXPECT_EQ(at(0, 0), 0xFF000000u | static_cast<std::uint32_t>(kLeftValue));
    EXPECT_EQ(at(kCursorSide - 1, kCursorSide - 1), 0xFF000000u | static_cast<std::uint32_t>(kRightValue));
}

TEST_F(CursorTest, FeatureCodesOfTheShownCursorMatchTheMasks) {
    const CurrentCursor cursor = ShowOverWindow(CreateMaskedCursor(), kHotX, kHotY);
    ASSERT_TRUE(cursor.known);
    PictureBox preview;
    for (const int method : {0, 1, 2}) {
        EXPECT_EQ(CursorFeatureCode(desktop, preview, method), ExpectedFeatureCode(method)) << "method " << method;
    }
    // The pattern gives the three methods different codes, so a method mixed up shows.
    EXPECT_NE(ExpectedFeatureCode(0), ExpectedFeatureCode(1));
    EXPECT_NE(ExpectedFeatureCode(1), ExpectedFeatureCode(2));
    EXPECT_NE(ExpectedFeatureCode(0), ExpectedFeatureCode(2));
}

// An inverting pixel (AND and XOR bits both set, as in the text beam) flips what lies under
// it: it is marked so in the image, a snapshot with the cursor shows it black over white
// and white over black, and the feature code (read over black) takes it as white.
TEST_F(CursorTest, InvertingPixelsAreMarkedAndFlipTheScreenInSnapshots) {
    constexpr ScreenPoint kPointer{420, 120};
    FilledWindow filled(400, 100, 100, 100, RGB(255, 255, 255));
    ASSERT_TRUE(WaitForScreen(400, 100, 0xFFFFFF));
    const CurrentCursor cursor = ShowOver(filled.get(), kPointer, CreateMaskedCursor(), kHotX, kHotY);
    ASSERT_TRUE(cursor.known);
    const CursorImage& image = cursor.image;
    ASSERT_GE(image.width, kCursorSide);
    ASSERT_GE(image.height, kCursorSide);
    ASSERT_EQ(image.inverts.size(), image.pixels.size());
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const bool inverting = x < kCursorSide && y < kCursorSide && Inverting(x, y);
            ASSERT_EQ(image.inverts[static_cast<std::size_t>(y) * image.width + x], inverting ? 1 : 0)
                << "at " << x << "," << y;
        }

    // The cursor's square grabbed over the window, white and then black: the masks
    // applied to the screen, (screen AND mask) XOR mask.
    const int left = kPointer.x - kHotX;
    const int top = kPointer.y - kHotY;
    for (const std::int32_t under : {0xFFFFFF, 0x000000}) {
        SCOPED_TRACE(under);
        filled.Fill(static_cast<COLORREF>(under));
        ASSERT_TRUE(WaitForScreen(left, top, under));
        const std::optional<Surface> grab = GrabScreenArea(desktop, left, top, kCursorSide, kCursorSide, true);
        ASSERT_TRUE(grab.has_value());
        for (int y = 0; y < kCursorSide; ++y)
            for (int x = 0; x < kCursorSide; ++x) {
                const std::int32_t expected = (AndBit(x, y) ? under : 0) ^ (XorBit(x, y) ? 0xFFFFFF : 0);
                ASSERT_EQ(grab->Pixel(x, y), expected) << "at " << x << "," << y;
            }
    }

    // The same shape with opaque white where it inverts gives the same feature codes; at
    // least one sample point lies on an inverting pixel, so a code that lost them differs.
    bool sampled = false;
    std::uint32_t codes[3] = {};
    PictureBox preview;
    for (const int method : {0, 1, 2}) {
        codes[method] = CursorFeatureCode(desktop, preview, method);
        for (const SamplePoint point : FeatureSamplePoints(method)) {
            const int x = point.x + kHotX;
            const int y = point.y + kHotY;
            sampled = sampled || (point.x < kWorkBitmapSize && point.y < kWorkBitmapSize && Inverting(x, y));
        }
    }
    EXPECT_TRUE(sampled);
    const CurrentCursor white = ShowOver(filled.get(), kPointer, CreateMaskedCursor(true), kHotX, kHotY);
    ASSERT_TRUE(white.known);
    EXPECT_EQ(std::count(white.image.inverts.begin(), white.image.inverts.end(), 1), 0);
    for (const int method : {0, 1, 2})
        EXPECT_EQ(CursorFeatureCode(desktop, preview, method), codes[method]) << "method " << method;
}

TEST_F(CursorTest, HiddenCursorIsUnknownButItsPositionIsReported) {
    ShowOverWindow(CreateMaskedCursor(), kHotX, kHotY);
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
    SetCursor(nullptr);
    ShowCursor(FALSE);
    CurrentCursor read;
    const bool hidden = PumpUntil([&] {
        read = desktop.ReadCursor();
        return !read.known;
    });
    // With no cursor to draw, the feature code reads the screen from the pointer on: here
    // the window's left half, all over the 16 x 16 work bitmap.
    PictureBox preview;
    const std::uint32_t screenCode = CursorFeatureCode(desktop, preview, 0);
    ShowCursor(TRUE);
    ASSERT_TRUE(hidden);
    EXPECT_EQ(read.position, pointer_);
    EXPECT_TRUE(read.image.pixels.empty());
    EXPECT_EQ(screenCode, FoldFeatureSamples(std::vector<std::uint32_t>(10, kLeftValue)));
}

}  // namespace
}  // namespace pelmora
