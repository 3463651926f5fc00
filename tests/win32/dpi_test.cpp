// SPDX-License-Identifier: MIT
// The Win32 view on a display of 144 dpi (150 %), run in a wine prefix set to 144 dpi by
// scripts/wine-session with PELMORA_WINE_DPI=144. The process declares itself aware of
// each monitor's dpi, as pelmora.exe's manifest does: the layout is drawn 1.5 times as
// large, mouse positions reach the handlers in layout pixels, and every value a user reads
// (pointer, pixels, windows) stays in the screen's physical pixels.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/form1.h"
#include "backends/win32/win32_form_view.h"
#include "backends/win32/win32_scale.h"
#include "backends/win32/win32_services.h"
#include "backends/win32/win32_text.h"
#include "view_test_support.h"

using namespace pelmora;

namespace {

constexpr int kDpi = 144;

// Before any window: the process is aware of each monitor's dpi (looked up, as a system
// without it has no such function). wine 8 knows only the first version of it and may
// have made the process aware already; what counts is the awareness the process has.
template <typename Function>
Function User32(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"user32.dll"), name)));
}
const bool kAware = [] {
    const auto set = User32<BOOL(WINAPI*)(HANDLE)>("SetProcessDpiAwarenessContext");
    const auto context = [](INT_PTR value) { return reinterpret_cast<HANDLE>(value); };
    if (set && (set(context(-4)) || set(context(-3)))) return true;  // per monitor, version 2 or 1
    const auto current = User32<HANDLE(WINAPI*)()>("GetThreadDpiAwarenessContext");
    const auto awareness = User32<int(WINAPI*)(HANDLE)>("GetAwarenessFromDpiAwarenessContext");
    return current && awareness && awareness(current()) == 2;  // DPI_AWARENESS_PER_MONITOR_AWARE
}();

// A layout edge on the screen at 150 %: ceil(v * 1.5).
int Px(int layout) { return (layout * 3 + 1) / 2; }

void ExpectRect(const RECT& r, int left, int top, int right, int bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

// The top-left of window's client area on the screen.
POINT Origin(HWND window) {
    POINT at{0, 0};
    ClientToScreen(window, &at);
    return at;
}

// A left press and release at a point on the screen, as a hand makes them.
void ClickAt(POINT at) {
    MovePointer(at);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
}

// Measures texts in a window's own font.
class WindowFont {
public:
    explicit WindowFont(HWND window)
        : window_(window),
          dc_(GetDC(window)),
          old_(SelectObject(dc_, reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)))) {}
    ~WindowFont() {
        SelectObject(dc_, old_);
        ReleaseDC(window_, dc_);
    }
    SIZE Size(std::wstring_view text) const {
        SIZE size{};
        GetTextExtentPoint32W(dc_, text.data(), static_cast<int>(text.size()), &size);
        return size;
    }
    // form with each 'd' the font's widest digit and each 'h' its widest hexadecimal digit.
    std::wstring Widest(const std::string& form) const {
        const auto widest = [this](std::wstring_view characters) {
            wchar_t found = characters[0];
            for (const wchar_t c : characters)
                if (Size({&c, 1}).cx > Size({&found, 1}).cx) found = c;
            return found;
        };
        const wchar_t digit = widest(L"0123456789");
        const wchar_t hexDigit = widest(L"0123456789ABCDEF");
        std::wstring text;
        for (const char c : form) text += c == 'd' ? digit : c == 'h' ? hexDigit : static_cast<wchar_t>(c);
        return text;
    }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ old_;
};

// The colour of a pattern's pixel: every pixel of an 11 x 11 block differs.
int PatternColour(int x, int y) { return RGB(20 * x + 10, 20 * y + 10, 0x80); }

// A topmost window at a place on the screen showing PatternColour pixel for pixel: what
// the magnifier reads and the crosshair picks.
class PatternWindow {
public:
    explicit PatternWindow(POINT at) {
        static const bool registered = [] {
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = Procedure;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = L"PelmoraDpiPattern";
            return RegisterClassW(&windowClass) != 0;
        }();
        (void)registered;
        window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"PelmoraDpiPattern", L"Pattern",
                                  WS_POPUP | WS_VISIBLE, at.x, at.y, 40, 40, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        UpdateWindow(window_);
        Pump();
    }
    ~PatternWindow() { DestroyWindow(window_); }
    HWND Window() const { return window_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_ERASEBKGND) return 1;
        if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) SetPixelV(dc, x, y, static_cast<COLORREF>(PatternColour(x % 11, y % 11)));
        EndPaint(window, &paint);
        return 0;
    }
    HWND window_ = nullptr;
};

// The scale's arithmetic at the usual settings, 100 % to 200 %, and 175 % for a scale
// whose edges mostly fall between pixels.
TEST(LayoutScale, EveryPhysicalPixelMapsBackIntoTheLayoutPixelThatCoversIt) {
    for (const int dpi : {96, 120, 144, 168, 192}) {
        const LayoutScale scale(dpi);
        for (int v = -3010; v < 700; ++v) {
            const int from = scale.ToPhysical(v), to = scale.ToPhysical(v + 1);
            ASSERT_LT(from, to) << dpi << " " << v;  // no layout pixel vanishes
            for (int p = from; p < to; ++p) ASSERT_EQ(scale.ToLayout(p), v) << dpi << " " << p;
        }
    }
}

TEST(LayoutScale, EdgesRoundUpAndTheFontRoundsToNearest) {
    const LayoutScale unscaled;
    EXPECT_TRUE(unscaled.Unscaled());
    EXPECT_EQ(unscaled.ToPhysical(445), 445);
    EXPECT_EQ(unscaled.Size(12), 12);
    const LayoutScale at125(120);
    EXPECT_EQ(at125.ToPhysical(1), 2);
    EXPECT_EQ(at125.ToPhysical(8), 10);
    EXPECT_EQ(at125.ToPhysical(-3000), -3750);
    EXPECT_EQ(at125.ToPhysical(445), 557);  // 556.25
    EXPECT_EQ(at125.Size(12), 15);
    const LayoutScale at150(144);
    EXPECT_EQ(at150.ToPhysical(445), 668);
    EXPECT_EQ(at150.ToPhysical(313), 470);
    EXPECT_EQ(at150.ToPhysical(-3001), -4501);  // -4501.5 rounded up
    EXPECT_EQ(at150.ToLayout(-1), -1);
    EXPECT_EQ(at150.ToLayoutCeil(19), 13);  // 12.67: a measured text covered
    EXPECT_EQ(LayoutScale(168).Size(12), 21);
    EXPECT_EQ(LayoutScale(0).Dpi(), 96);  // a dpi the system could not tell
}

TEST(DpiEnvironment, TheProcessIsAwareAndTheScreenHas144Dpi) {
    ASSERT_TRUE(kAware);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), kDpi);
    ReleaseDC(nullptr, screen);
}

// A picture on a window of its own, to see its pixels and mouse mapping alone.
struct PictureHost : ControlHost {
    PictureBox picture;
    PictureBox bordered;
    Label boxed;
    std::vector<MouseEvent> presses;
    PictureHost() {
        picture.Place(*this, nullptr, "picture", -1, {8, 8, 40, 40});
        picture.SetBorder(false);
        picture.onMouseDown = [this](const MouseEvent& e) { presses.push_back(e); };
        bordered.Place(*this, nullptr, "bordered", -1, {60, 8, 21, 21});
        bordered.SetBackColor(RGB(0, 0, 255));
        boxed.Place(*this, nullptr, "boxed", -1, {90, 8, 9, 9});
        boxed.SetBorder(true);
        boxed.SetBackColor(RGB(0, 255, 0));
    }
};

struct ScaledPictureTest : ::testing::Test {
    PictureHost host;
    Win32FormView view{host, "图", 110, 60};
    ScaledPictureTest() {
        SetWindowPos(view.Window(), nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        view.Dispatch([this] {
            // 5 x 5 cells of 8 x 8 layout pixels, each of its own colour.
            Surface& image = host.picture.EditImage();
            image.Resize(40, 40, 0);
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 40; ++x) image.SetPixel(x, y, CellColour(x / 8, y / 8));
            host.SetWindowVisible(true);
        });
        UpdateWindow(view.Window());
        Pump();
    }
    static int CellColour(int column, int row) { return RGB(40 * column + 20, 40 * row + 20, 200); }
};

TEST_F(ScaledPictureTest, AnEightPixelCellIsASharpTwelvePixelSquareOfOneColour) {
    HWND picture = view.WindowOf(host.picture);
    ExpectRect(PlaceOf(picture), 12, 12, 72, 72);
    const POINT origin = Origin(picture);
    // Every screen pixel of the picture has its cell's colour: no blend at any edge.
    int wrong = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            if (ScreenPixel(origin.x + x, origin.y + y) != CellColour(x / 12, y / 12)) ++wrong;
    EXPECT_EQ(wrong, 0);
}

TEST_F(ScaledPictureTest, ABorderIsOneLayoutPixelAndTheInsideStartsAfterIt) {
    HWND bordered = view.WindowOf(host.bordered);
    // 21 layout pixels from 60: the edges 90 and 122 (121.5 rounded up).
    ExpectRect(PlaceOf(bordered), 90, 12, 122, 44);
    const POINT origin = Origin(bordered);
    const int shadow = static_cast<int>(GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(ScreenPixel(origin.x + 1, origin.y + 10), shadow);  // two pixels thick at 150 %
    EXPECT_EQ(ScreenPixel(origin.x + 2, origin.y + 10), RGB(0, 0, 255));
}

TEST_F(ScaledPictureTest, ALabelsBorderIsOneLayoutPixelThick) {
    HWND boxed = view.WindowOf(host.boxed);
    ExpectRect(PlaceOf(boxed), 135, 12, 149, 26);
    RECT frame;
    GetWindowRect(boxed, &frame);
    const int border = static_cast<int>(GetSysColor(COLOR_WINDOWFRAME));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(ScreenPixel(frame.left + i, frame.top + 7), border) << i;
        EXPECT_EQ(ScreenPixel(frame.right - 1 - i, frame.top + 7), border) << i;
        EXPECT_EQ(ScreenPixel(frame.left + 7, frame.bottom - 1 - i), border) << i;
    }
    EXPECT_EQ(ScreenPixel(frame.left + 2, frame.top + 7), RGB(0, 255, 0));
    EXPECT_EQ(ScreenPixel(frame.right - 3, frame.top + 7), RGB(0, 255, 0));
}

TEST_F(ScaledPictureTest, AChangedLayoutPixelRepaintsItsScaledSquare) {
    HWND picture = view.WindowOf(host.picture);
    host.picture.EditImageArea({3, 5, 1, 1}).SetPixel(3, 5, RGB(255, 255, 0));
    view.Sync();
    RECT update;
    ASSERT_TRUE(GetUpdateRect(picture, &update, FALSE));
    ExpectRect(update, 5, 8, 6, 9);  // the layout pixel (3, 5): from 4.5 and 7.5 rounded up
    UpdateWindow(picture);
    Pump();
    const POINT origin = Origin(picture);
    EXPECT_EQ(ScreenPixel(origin.x + 5, origin.y + 8), RGB(255, 255, 0));
    EXPECT_EQ(ScreenPixel(origin.x + 4, origin.y + 8), CellColour(0, 0));
    EXPECT_EQ(ScreenPixel(origin.x + 6, origin.y + 8), CellColour(0, 0));
}

TEST_F(ScaledPictureTest, APressReachesTheHandlerInTheLayoutPixelItFallsIn) {
    HWND picture = view.WindowOf(host.picture);
    const POINT origin = Origin(picture);
    // Screen pixels 11 and 12 of the picture lie in layout pixels 7 and 8, either side of
    // the first cell's edge; 59 is the last pixel of the last cell. (Presses close to the
    // last one would make a double click.)
    for (const POINT at : {POINT{11, 12}, POINT{59, 59}, POINT{12, 11}}) {
        const std::size_t before = host.presses.size();
        ClickAt({origin.x + at.x, origin.y + at.y});
        ASSERT_TRUE(WaitUntil([this, before] { return host.presses.size() > before; }));
    }
    ASSERT_EQ(host.presses.size(), 3u);
    EXPECT_EQ(host.presses[0].x, 7);
    EXPECT_EQ(host.presses[0].y, 8);
    EXPECT_EQ(host.presses[1].x, 39);
    EXPECT_EQ(host.presses[1].y, 39);
    EXPECT_EQ(host.presses[2].x, 8);
    EXPECT_EQ(host.presses[2].y, 7);
}

TEST_F(ScaledPictureTest, ANewDpiLaysTheWindowOutAgain) {
    RECT suggested;
    GetWindowRect(view.Window(), &suggested);
    SendMessageW(view.Window(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    UpdateWindow(view.Window());
    Pump();
    RECT client;
    GetClientRect(view.Window(), &client);
    EXPECT_EQ(client.right, 220);
    EXPECT_EQ(client.bottom, 120);
    HWND picture = view.WindowOf(host.picture);
    ExpectRect(PlaceOf(picture), 16, 16, 96, 96);
    const POINT origin = Origin(picture);
    EXPECT_EQ(ScreenPixel(origin.x + 15, origin.y + 15), CellColour(0, 0));
    EXPECT_EQ(ScreenPixel(origin.x + 16, origin.y + 15), CellColour(1, 0));
}

// pelmora's own window on the real Win32 services.
struct Dpi150Form1Test : ::testing::Test {
    Win32Services services;
    Form1 form{services.Services()};
    Win32FormView view{form, kWindowCaption, kClientWidth, kClientHeight};

    Dpi150Form1Test() {
        services.AttachTo(view);
        view.Dispatch([this] { form.Form_Load(); });
        SetWindowPos(view.Window(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ShowWindow(view.Window(), SW_SHOW);
        UpdateWindow(view.Window());
        Pump();
    }
    ~Dpi150Form1Test() override {
        if (GetCapture()) ReleaseCapture();
        Pump();
    }
    HWND W(const Control& control) const { return view.WindowOf(control); }
    // The screen point of a control's layout point (relative to its window).
    POINT At(const Control& control, int x, int y) const {
        const POINT origin = Origin(W(control));
        return {origin.x + Px(x), origin.y + Px(y)};
    }
    void StartSampling() {
        ClickAt(At(form.sampling.Check1, 8, 8));
        ASSERT_TRUE(WaitUntil([this] { return form.sampling.Check1.Value() == 1; }));
    }
};

TEST_F(Dpi150Form1Test, TheLayoutIsOneAndAHalfTimesAsLargeWithANinePointFont) {
    RECT client;
    GetClientRect(view.Window(), &client);
    EXPECT_EQ(client.right, 668);
    EXPECT_EQ(client.bottom, 470);
    // Check1 from (344, 123) to (433, 140), Frame3 from (16, 8) to (185, 194): their
    // edges scaled.
    ExpectRect(PlaceOf(W(form.sampling.Check1)), 516, 185, 650, 210);
    ExpectRect(PlaceOf(W(form.Frame3)), 24, 12, 278, 291);
    // Lines of 12 layout pixels: the font's cells, ascent and descent, 18 pixels high.
    EXPECT_EQ(WindowFont(W(form.sampling.Check1)).Size(L"颜色").cy, 18);
}

// Every field shows the widest value it can hold whole, between its margins, and every
// label the whole height of its caption, at 100, 125, 150 and 200 %, in the faces the view
// picked from the fonts this system has. A field's value: each 'd' the widest digit, each
// 'h' the widest hexadecimal digit.
TEST_F(Dpi150Form1Test, FieldsShowTheirWidestValuesAndLabelsTheirWholeCaptionsAtEveryScale) {
    std::vector<std::pair<const TextBox*, std::string>> fields;
    const auto add = [&fields](const char* value, std::initializer_list<const TextBox*> boxes) {
        for (const TextBox* box : boxes) fields.emplace_back(box, value);
    };
    const ColourLookupPage& lookup = form.lookupPage;
    for (const ColourReadout* panel : {&form.readoutPanel, &form.customPanel.fields}) {
        add("ddd", {&panel->red, &panel->green, &panel->blue, &panel->hue, &panel->saturation, &panel->lightness});
        add("hh", {&panel->redHex, &panel->greenHex, &panel->blueHex});
        add("-dddd", {&panel->x, &panel->y});
        add("hhhhhh", {&panel->hex});
        add("dddddddd", {&panel->decimal});
    }
    add("ddd", {&lookup.查10r, &lookup.查10g, &lookup.查10b, &lookup.查10h, &lookup.查10s, &lookup.查10l});
    add("hhhhhh", {&lookup.查10, &form.editor.colours.前背景色[0], &form.editor.colours.前背景色[1]});
    add("dddddddd", {&lookup.查16});
    add("dddd", {&form.adjustment.起x, &form.adjustment.起y});
    add("dddddddddd", {&form.cursorPage.鼠标特征码});
    add("-dddddddddd", {&form.windowHandlePage.pick.Text2});
    for (const TextBox& range : form.snapshotPage.范围) add("-dddd", {&range});
    for (const TextBox& slot : form.pointSlots.坐标颜色) add("-dddd,-dddd hhhhhh", {&slot});

    for (const int dpi : {96, 120, 144, 192}) {
        RECT suggested;
        GetWindowRect(view.Window(), &suggested);
        SendMessageW(view.Window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        for (const auto& [field, value] : fields) {
            const WindowFont font(W(*field));
            const std::wstring widest = font.Widest(value);
            const SIZE text = font.Size(widest);
            RECT shown, client;  // where the field draws its text: inside its client area and margins
            SendMessageW(W(*field), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&shown));
            GetClientRect(W(*field), &client);
            EXPECT_LE(text.cx, shown.right - shown.left) << dpi << " " << field->ObjectName() << " " << Utf8(widest);
            EXPECT_LE(text.cy, client.bottom) << dpi << " " << field->ObjectName();
        }
        for (const Control* control : form.Controls()) {
            const auto* label = control->Kind() == ControlKind::Label ? static_cast<const Label*>(control) : nullptr;
            if (!label || label->Caption().empty()) continue;
            RECT client;
            GetClientRect(W(*label), &client);
            EXPECT_LE(WindowFont(W(*label)).Size(Wide(label->Caption())).cy, client.bottom)
                << dpi << " " << label->ObjectName() << " " << label->Caption();
        }
    }
}

// The side of the image an icon was made with.
int IconSide(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

TEST_F(Dpi150Form1Test, TheTitleBarShowsTheProgramsIconDrawnAtTheScale) {
    EXPECT_EQ(IconSide(reinterpret_cast<HICON>(SendMessageW(view.Window(), WM_GETICON, ICON_BIG, 0))), 48);
    EXPECT_EQ(IconSide(reinterpret_cast<HICON>(SendMessageW(view.Window(), WM_GETICON, ICON_SMALL, 0))), 24);
    // Moved to a monitor of 200 %: drawn again at that size.
    RECT suggested;
    GetWindowRect(view.Window(), &suggested);
    SendMessageW(view.Window(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(IconSide(reinterpret_cast<HICON>(SendMessageW(view.Window(), WM_GETICON, ICON_BIG, 0))), 64);
    EXPECT_EQ(IconSide(reinterpret_cast<HICON>(SendMessageW(view.Window(), WM_GETICON, ICON_SMALL, 0))), 32);
}

TEST_F(Dpi150Form1Test, TheSwitchClickedAtItsScaledPlaceStartsSamplingWithThePhysicalPointer) {
    StartSampling();
    const POINT pointer{901, 707};
    MovePointer(pointer);
    const std::wstring wanted = Wide("x:901  y:707");
    EXPECT_TRUE(WaitUntil([&] { return TextOf(W(form.sampling.Label9)) == wanted; }))
        << Utf8(TextOf(W(form.sampling.Label9)));
    EXPECT_TRUE(WaitUntil([this] {
        return form.readoutPanel.x.Text() == "901" && form.readoutPanel.y.Text() == "707";
    })) << form.readoutPanel.x.Text()
        << " " << form.readoutPanel.y.Text();
    EXPECT_EQ(Utf8(TextOf(W(form.readoutPanel.x))), "901");
}

TEST_F(Dpi150Form1Test, TheMagnifierShowsThePhysicalPixelsAroundThePointer) {
    const PatternWindow pattern({800, 300});
    StartSampling();
    MovePointer({805, 305});  // the pattern's pixel (5, 5)
    HWND picture = W(form.magnifier.Picture1);
    const POINT origin = Origin(picture);
    // The middle of a cell: the cell (c, r) covers the layout pixels from 1 + 8c (inside
    // the border) to 9 + 8c; the grid line takes its first.
    const auto cellMiddle = [origin](int column, int row) {
        return POINT{origin.x + (Px(1 + 8 * column) + Px(9 + 8 * column)) / 2,
                     origin.y + (Px(1 + 8 * row) + Px(9 + 8 * row)) / 2};
    };
    const POINT centre = cellMiddle(5, 5);
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(centre.x, centre.y) == PatternColour(5, 5); }))
        << std::hex << ScreenPixel(centre.x, centre.y);
    for (const POINT cell : {POINT{3, 3}, POINT{7, 3}, POINT{3, 7}, POINT{8, 9}, POINT{0, 0}, POINT{10, 10}}) {
        const POINT middle = cellMiddle(cell.x, cell.y);
        EXPECT_EQ(ScreenPixel(middle.x, middle.y), PatternColour(cell.x, cell.y)) << cell.x << "," << cell.y;
    }
    // A cell is 12 pixels wide, sharp: the cell (7, 7) from 86 to 98, its first column the
    // grid line's, every other its pixel's, then the next line and the next cell.
    const int row = cellMiddle(7, 7).y;
    EXPECT_EQ(Px(65) - Px(57), 12);
    EXPECT_EQ(ScreenPixel(origin.x + Px(57), row), kMagnifierGridColour);
    for (int x = Px(57) + 1; x < Px(65); ++x) EXPECT_EQ(ScreenPixel(origin.x + x, row), PatternColour(7, 7)) << x;
    EXPECT_EQ(ScreenPixel(origin.x + Px(65), row), kMagnifierGridColour);
    EXPECT_EQ(ScreenPixel(origin.x + Px(65) + 1, row), PatternColour(8, 7));
    // Every cell is 12 pixels wide and high, the last column and row too: along the cells'
    // row 8 and down their column 8 (clear of the markers), a cell runs from its grid line
    // (the first from the border) to the next cell's.
    const auto cellSizes = [&](bool across) {
        const int line = cellMiddle(8, 8).x - origin.x;
        std::vector<int> last(kMagnifierCells, -1);
        int first = -1;
        for (int p = 0; p < Px(90); ++p) {
            const int pixel =
                across ? ScreenPixel(origin.x + p, origin.y + line) : ScreenPixel(origin.x + line, origin.y + p);
            for (int cell = 0; cell < kMagnifierCells; ++cell) {
                if (pixel != (across ? PatternColour(cell, 8) : PatternColour(8, cell))) continue;
                if (first < 0) first = p;
                last[static_cast<std::size_t>(cell)] = p;
            }
        }
        std::vector<int> sizes{last[0] + 1 - first};
        for (std::size_t cell = 1; cell < last.size(); ++cell) sizes.push_back(last[cell] - last[cell - 1]);
        return sizes;
    };
    EXPECT_EQ(cellSizes(true), std::vector<int>(kMagnifierCells, 12));
    EXPECT_EQ(cellSizes(false), std::vector<int>(kMagnifierCells, 12));
}

TEST_F(Dpi150Form1Test, ThePencilAtEightTimesChangesThePixelUnderTheScaledPress) {
    Surface picture(20, 15, RGB(255, 255, 255));
    for (int x = 0; x < 20; ++x) picture.SetPixel(x, 0, RGB(0, 128, 0));
    services.clipboard.SetPicture(picture);
    SendMessageW(W(form.Option2[4]), BM_CLICK, 0, 0);
    SendMessageW(W(form.editor.files.菜单按钮[3]), BM_CLICK, 0, 0);
    SendMessageW(W(form.editor.canvas.缩放[0]), BM_CLICK, 0, 0);
    SendMessageW(W(form.editor.tools.控制[1]), BM_CLICK, 0, 0);
    Pump();
    ASSERT_TRUE(form.editor.canvas.ZoomedEightTimes());
    ASSERT_EQ(form.editor.canvas.结果图像.Width(), 20);
    const std::int32_t pen = form.editor.colours.Foreground();
    ASSERT_NE(pen, RGB(255, 255, 255));

    // The image pixel (5, 4) is the display's cell from (40, 32) to (48, 40): the press at
    // the screen pixel 1 before its right and bottom edges, 71 and 59 into the display.
    const POINT origin = Origin(W(form.editor.canvas.显示图像));
    ClickAt({origin.x + Px(48) - 1, origin.y + Px(40) - 1});
    ASSERT_TRUE(WaitUntil([&] { return form.editor.canvas.结果图像.Pixel(5, 4) == pen; }));
    int changed = 0;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x)
            if (form.editor.canvas.结果图像.Pixel(x, y) != picture.Pixel(x, y)) ++changed;
    EXPECT_EQ(changed, 1);
    UpdateWindow(view.Window());
    Pump();
    // On the screen the cell is the pen's 12 x 12 square (its middle, clear of the grid).
    EXPECT_EQ(ScreenPixel(origin.x + Px(44), origin.y + Px(36)), pen);
    EXPECT_EQ(ScreenPixel(origin.x + Px(52), origin.y + Px(36)), RGB(255, 255, 255));
}

TEST_F(Dpi150Form1Test, TheCrosshairDraggedOntoAWindowPicksTheWindowUnderThePhysicalPointer) {
    const PatternWindow target({900, 600});
    SendMessageW(W(form.Option2[2]), BM_CLICK, 0, 0);
    SendMessageW(W(form.windowHandlePage.pick.Check4), BM_CLICK, 0, 0);
    Pump();
    ASSERT_TRUE(form.windowHandlePage.pick.picCrossHair.Enabled());
    MovePointer(At(form.windowHandlePage.pick.picCrossHair, 18, 18));
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(WaitUntil([this] { return form.windowHandlePage.pick.CrossHairDragging; }));
    // The dragged crosshair: the system's pointer size at 144 dpi, its hot spot in the
    // middle of the centre pixel's block.
    CURSORINFO shown{};
    shown.cbSize = sizeof(shown);
    ASSERT_TRUE(WaitUntil([&] { return GetCursorInfo(&shown) && shown.hCursor != nullptr; }));
    ICONINFO icon{};
    if (GetIconInfo(shown.hCursor, &icon)) {
        BITMAP bits{};
        GetObjectW(icon.hbmColor ? icon.hbmColor : icon.hbmMask, sizeof(bits), &bits);
        const auto forDpi = User32<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
        if (forDpi && icon.hbmColor) {
            const int size = 32 * forDpi(SM_CXCURSOR, kDpi) / forDpi(SM_CXCURSOR, 96);
            EXPECT_EQ(bits.bmWidth, size);
            // The crosshair's centre pixel (15) covers from ceil(15 * scale) to ceil(16 * scale).
            EXPECT_GE(static_cast<int>(icon.xHotspot), (15 * size + 31) / 32);
            EXPECT_LT(static_cast<int>(icon.xHotspot), (16 * size + 31) / 32);
        }
        if (icon.hbmColor) DeleteObject(icon.hbmColor);
        if (icon.hbmMask) DeleteObject(icon.hbmMask);
    }
    MovePointer({920, 620});
    const std::string handle =
        std::to_string(static_cast<WindowHandle>(reinterpret_cast<std::intptr_t>(target.Window())));
    EXPECT_TRUE(WaitUntil([&] { return form.windowHandlePage.pick.Text2.Text() == handle; }))
        << form.windowHandlePage.pick.Text2.Text() << " wanted " << handle;
    SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitUntil([this] { return !form.windowHandlePage.pick.CrossHairDragging; }));
    EXPECT_EQ(Utf8(TextOf(W(form.windowHandlePage.pick.Text1))), "Pattern");
}

}  // namespace
