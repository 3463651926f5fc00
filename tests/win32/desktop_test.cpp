// SPDX-License-Identifier: MIT
// The desktop backend against wine's real screen: the desktop contract, and cursors shown
// over windows painted in known colours, read back as images, feature codes and snapshots.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "capture/screen_grab.h"
#include "cursor/feature_code.h"
#include "platform/controls.h"
#include "backends/win32/win32_cursor.h"
#include "backends/win32/win32_desktop.h"
#include "backends/win32/win32_text.h"
#include "contract/desktop_contract.h"
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

constexpr const wchar_t* kClassName = L"PelmoraDesktopTestWindow";
constexpr const wchar_t* kPictureProperty = L"PelmoraPicture";

// Paints the window's picture (kept in a property) and shows the cursor the test gave it
// (kept in its user data), or none.
LRESULT CALLBACK PictureProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            const auto* picture = static_cast<const Surface*>(GetPropW(window, kPictureProperty));
            if (picture) {
                std::vector<std::uint32_t> rows;  // 0x00RRGGBB, top-down
                for (int y = 0; y < picture->Height(); ++y)
                    for (int x = 0; x < picture->Width(); ++x) {
                        const auto c = static_cast<std::uint32_t>(picture->Pixel(x, y));
                        rows.push_back((c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF));
                    }
                BITMAPINFO info{};
                info.bmiHeader.biSize = sizeof info.bmiHeader;
                info.bmiHeader.biWidth = picture->Width();
                info.bmiHeader.biHeight = -picture->Height();
                info.bmiHeader.biPlanes = 1;
                info.bmiHeader.biBitCount = 32;
                info.bmiHeader.biCompression = BI_RGB;
                SetDIBitsToDevice(dc, 0, 0, picture->Width(), picture->Height(), 0, 0, 0, picture->Height(),
                                  rows.data(), &info, DIB_RGB_COLORS);
            }
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

// A borderless topmost window showing a picture, shown until destroyed.
class PictureWindow {
public:
    PictureWindow(int x, int y, Surface picture, const std::string& title) : picture_(std::move(picture)) {
        static const bool registered = [] {
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = PictureProcedure;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = kClassName;
            return RegisterClassW(&windowClass) != 0;
        }();
        EXPECT_TRUE(registered);
        window_ = CreateWindowExW(WS_EX_TOPMOST, kClassName, Wide(title).c_str(), WS_POPUP, x, y, picture_.Width(),
                                  picture_.Height(), nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetPropW(window_, kPictureProperty, &picture_);
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        UpdateWindow(window_);
    }
    ~PictureWindow() { Destroy(); }
    PictureWindow(const PictureWindow&) = delete;
    PictureWindow& operator=(const PictureWindow&) = delete;

    HWND get() const { return window_; }
    WindowHandle Handle() const { return HandleOf(window_); }
    void SetPicture(Surface picture) {
        picture_ = std::move(picture);
        InvalidateRect(window_, nullptr, TRUE);
        UpdateWindow(window_);
    }
    void Destroy() {
        if (!window_) return;
        RemovePropW(window_, kPictureProperty);
        DestroyWindow(window_);
        window_ = nullptr;
    }

private:
    Surface picture_;
    HWND window_ = nullptr;
};

// A picture of kLeftValue on the left half and kRightValue on the right one.
Surface Halves(int width, int height) {
    Surface halves(width, height, kRightValue);
    halves.BitBlt(0, 0, width / 2, height, Surface(width / 2, height, kLeftValue), 0, 0);
    return halves;
}

// The desktop contract on wine's screen, with this process's windows. Window texts come
// through the ANSI code page: what it lacks reads as "?".
struct Win32DesktopTraits {
    static constexpr const char* kWindowClass = "PelmoraDesktopTestWindow";
    using Window = PictureWindow;

    Desktop& desktop() { return win32Desktop; }
    std::unique_ptr<Window> Show(int left, int top, const Surface& picture, const std::string& title) {
        return std::make_unique<Window>(left, top, picture, title);
    }
    void Raise(const Window& window) {
        SetWindowPos(window.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    bool WaitForPixel(ScreenPoint at, std::int32_t colour) {
        return PumpUntil([&] { return win32Desktop.Pixel(at.x, at.y) == colour; });
    }
    void MovePointer(ScreenPoint point) {
        SetCursorPos(point.x, point.y);
        PointerReaches(point);
    }
    bool PointerReaches(ScreenPoint point) {
        return PumpUntil([&] {
            POINT at{};
            return GetCursorPos(&at) && at.x == point.x && at.y == point.y;
        });
    }
    std::string TitleAsRead(const std::string& title) { return encoding.ToUtf8(encoding.FromUtf8(title)); }

    AnsiEncoding encoding;
    Win32Desktop win32Desktop{encoding};
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
    PictureWindow window_{700, 400, Halves(100, 100), "cursor"};
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
    PictureWindow filled(400, 100, Surface(100, 100, 0xFFFFFF), "filled");
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
        filled.SetPicture(Surface(100, 100, under));
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

namespace contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, DesktopContract, Win32DesktopTraits);
}  // namespace contract
}  // namespace pelmora
