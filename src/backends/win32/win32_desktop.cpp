// SPDX-License-Identifier: MIT
#include "backends/win32/win32_desktop.h"

#include <windows.h>
#include <dwmapi.h>

#include <algorithm>
#include <string>

#include "backends/win32/win32_cursor.h"
#include "backends/win32/win32_dib.h"
#include "backends/win32/win32_text.h"
#include "platform/utf8_encoding.h"

namespace pelmora {

namespace {

// HWNDs carry 32 significant bits on 64-bit Windows too, so the program's 32-bit handle
// holds one whole; going back, the sign is extended as Windows does itself.
WindowHandle ToHandle(HWND window) { return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(window)); }
HWND ToWindow(WindowHandle handle) { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(handle)); }

// The size of the text buffers window texts are read into, as the program always had: in
// bytes for the A functions, in UTF-16 units for the W functions (whose texts, at most 254
// bytes of UTF-8, never have more units than that).
constexpr int kTextBufferSize = 255;

// A text a function wrote into a buffer: up to the first NUL, never past the buffer.
template <typename Char>
std::basic_string<Char> BufferText(const Char* buffer, int written) {
    const int limit = std::clamp(written, 0, kTextBufferSize);
    const Char* end = std::find(buffer, buffer + limit, Char{});
    return std::basic_string<Char>(buffer, end);
}

// A window text in UTF-8, cut on a character boundary within kWindowTextMaxBytes: read by
// readA through the ANSI code page when there is one, else by readW in UTF-16.
template <typename ReadA, typename ReadW>
std::string ReadText(HWND window, const TextEncoding* ansi, ReadA readA, ReadW readW) {
    if (ansi) {
        char buffer[kTextBufferSize] = {};
        const int written = readA(window, buffer, kTextBufferSize);
        return ansi->ToUtf8(ansi->CutAtCharacterBoundary(BufferText(buffer, written), kWindowTextMaxBytes));
    }
    wchar_t buffer[kTextBufferSize] = {};
    const int written = readW(window, buffer, kTextBufferSize);
    return Utf8Encoding().CutAtCharacterBoundary(Utf8(BufferText(buffer, written)), kWindowTextMaxBytes);
}

std::string ReadTitle(HWND window, const TextEncoding* ansi) {
    return ReadText(window, ansi, GetWindowTextA, GetWindowTextW);
}

std::string ReadClassName(HWND window, const TextEncoding* ansi) {
    return ReadText(window, ansi, GetClassNameA, GetClassNameW);
}

// The screen's device context for the length of one call.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// Every monitor's pixels, which the screen's device context spans: a secondary monitor left
// of or above the primary one has negative coordinates.
RECT VirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// The name of a window station or desktop.
std::wstring ObjectName(HANDLE object) {
    wchar_t name[256] = {};
    if (!GetUserObjectInformationW(object, UOI_NAME, name, sizeof name - sizeof name[0], nullptr)) return {};
    return name;
}

}  // namespace

std::string ScreenUnavailability() {
    HWINSTA station = GetProcessWindowStation();
    USEROBJECTFLAGS flags{};
    if (!station || !GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr) ||
        !(flags.dwFlags & WSF_VISIBLE))
        return "no one sees this program's screen (it runs as a service or without a logged-on user)";
    HDESK input = OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
    const std::wstring shown = input ? ObjectName(input) : L"";
    if (input) CloseDesktop(input);
    if (shown.empty() || shown != ObjectName(GetThreadDesktop(GetCurrentThreadId())))
        return "the desktop shown is not this program's (the workstation is locked, a secure desktop is up, or "
               "the program was started on another desktop)";
    const ScreenDc screen;
    if (!screen.get()) return "the screen has no device context";
    return {};
}

ScreenPoint Win32Desktop::PointerPos() {
    POINT point{};
    if (!GetCursorPos(&point)) return {};
    return {point.x, point.y};
}

void Win32Desktop::SetPointerPos(ScreenPoint point) { SetCursorPos(point.x, point.y); }

ScreenSize Win32Desktop::Size() {
    // The primary screen's resolution, as the display's device context reports it.
    const ScreenDc screen;
    if (!screen.get()) return {};
    return {GetDeviceCaps(screen.get(), HORZRES), GetDeviceCaps(screen.get(), VERTRES)};
}

ScreenRegion Win32Desktop::PrimaryMonitor() {
    const ScreenSize size = Size();
    return {0, 0, size.width, size.height};
}

ScreenRegion Win32Desktop::AllMonitors() {
    const RECT screenArea = VirtualScreen();
    return {screenArea.left, screenArea.top, screenArea.right - screenArea.left, screenArea.bottom - screenArea.top};
}

std::int32_t Win32Desktop::Pixel(std::int32_t x, std::int32_t y) {
    const RECT screenArea = VirtualScreen();
    if (x < screenArea.left || y < screenArea.top || x >= screenArea.right || y >= screenArea.bottom) return -1;
    const ScreenDc screen;
    if (!screen.get()) return -1;
    const COLORREF colour = GetPixel(screen.get(), x, y);
    if (colour == CLR_INVALID) return -1;
    return static_cast<std::int32_t>(colour & 0x00FFFFFF);
}

void Win32Desktop::ReadArea(std::int32_t left, std::int32_t top, Surface& target) {
    // Only the part of the rectangle on the screen is copied; the rest of target stays.
    const RECT screenArea = VirtualScreen();
    const std::int64_t fromX = std::max<std::int64_t>(left, screenArea.left);
    const std::int64_t fromY = std::max<std::int64_t>(top, screenArea.top);
    const std::int64_t toX = std::min<std::int64_t>(std::int64_t{left} + target.Width(), screenArea.right);
    const std::int64_t toY = std::min<std::int64_t>(std::int64_t{top} + target.Height(), screenArea.bottom);
    if (fromX >= toX || fromY >= toY) return;
    const int width = static_cast<int>(toX - fromX);
    const int height = static_cast<int>(toY - fromY);

    const ScreenDc screen;
    if (!screen.get()) return;
    HDC memory = CreateCompatibleDC(screen.get());
    if (!memory) return;
    const BITMAPINFO info = TopDownDib32(width, height);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        const bool copied = BitBlt(memory, 0, 0, width, height, screen.get(), static_cast<int>(fromX),
                                   static_cast<int>(fromY), SRCCOPY) != 0;
        GdiFlush();
        if (copied) {
            const auto* source = static_cast<const std::uint32_t*>(bits);
            const int offsetX = static_cast<int>(fromX - left);
            const int offsetY = static_cast<int>(fromY - top);
            for (int y = 0; y < height; ++y) {
                const std::uint32_t* row = source + static_cast<std::size_t>(y) * width;
                std::int32_t* out = target.Row(offsetY + y) + offsetX;
                for (int x = 0; x < width; ++x) out[x] = FromDibPixel(row[x]);
            }
        }
        SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
}

WindowHandle Win32Desktop::WindowAt(ScreenPoint point) { return ToHandle(WindowFromPoint(POINT{point.x, point.y})); }

WindowTexts Win32Desktop::ReadWindowTexts(WindowHandle window) {
    const HWND hwnd = ToWindow(window);
    if (window == 0 || !IsWindow(hwnd)) return {};
    return {ReadTitle(hwnd, ansi_), ReadClassName(hwnd, ansi_)};
}

std::vector<TopLevelWindow> Win32Desktop::TopLevelWindows() {
    // The desktop's children are the top-level windows, the first the topmost in Z order.
    // A window moved in the Z order during the walk could lead it round in a circle; the
    // walk stops after more windows than a desktop can hold.
    constexpr std::size_t kMostWindows = 65536;
    std::vector<TopLevelWindow> windows;
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window && windows.size() < kMostWindows;
         window = GetWindow(window, GW_HWNDNEXT))
        windows.push_back({ToHandle(window), ReadTitle(window, ansi_)});
    return windows;
}

WindowPlace Win32Desktop::PlaceOfWindow(WindowHandle window) {
    const HWND hwnd = ToWindow(window);
    if (window == 0 || !IsWindow(hwnd)) return {};
    if (IsIconic(hwnd)) return {WindowState::kMinimised};
    if (!IsWindowVisible(hwnd)) return {WindowState::kHidden};
    // Since Windows 10 the window rectangle holds invisible resize borders around what the
    // user sees; DWM's extended frame bounds are the visible outline.
    RECT frame{};
    if (FAILED(DwmGetWindowAttribute(hwnd, DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof frame)) &&
        !GetWindowRect(hwnd, &frame))
        return {};
    RECT client{};
    POINT corner{0, 0};
    if (!GetClientRect(hwnd, &client) || !ClientToScreen(hwnd, &corner)) return {};
    if (!MonitorFromRect(&frame, MONITOR_DEFAULTTONULL)) return {WindowState::kOffScreen};
    return {WindowState::kShown,
            {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top},
            {corner.x, corner.y, client.right, client.bottom}};
}

CurrentCursor Win32Desktop::ReadCursor() { return ReadCurrentCursor(); }

}  // namespace pelmora
