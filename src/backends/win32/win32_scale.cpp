// SPDX-License-Identifier: MIT
#include "backends/win32/win32_scale.h"

namespace pelmora {

namespace {

constexpr const wchar_t* kScaleProperty = L"PelmoraDpi";

template <typename Function>
Function User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

int DpiOfWindow(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kLayoutDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kLayoutDpi;
}

LayoutScale ScaleOf(HWND window) {
    const auto dpi = reinterpret_cast<INT_PTR>(GetPropW(window, kScaleProperty));
    return dpi > 0 ? LayoutScale(static_cast<int>(dpi)) : LayoutScale();
}

void SetScaleOf(HWND window, LayoutScale scale) {
    SetPropW(window, kScaleProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(scale.Dpi())));
}

void ForgetScaleOf(HWND window) { RemovePropW(window, kScaleProperty); }

int CursorSizeAt(int dpi) {
    using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
    static const auto forDpi = User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (forDpi) {
        const int size = forDpi(SM_CXCURSOR, static_cast<UINT>(dpi));
        if (size > 0) return size;
    }
    // Without it the system's metric is the one at the system's dpi.
    int size = GetSystemMetrics(SM_CXCURSOR);
    if (size <= 0) size = 32;
    HDC screen = GetDC(nullptr);
    const int systemDpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kLayoutDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return MulDiv(size, dpi, systemDpi > 0 ? systemDpi : kLayoutDpi);
}

}  // namespace pelmora
