// SPDX-License-Identifier: MIT
// The window classes that draw from a control itself: a PictureBox (background, centred
// picture, persistent image) and a Shape (a filled rectangle, or an outline with whatever
// lies under it showing inside). Both take their control from GWLP_USERDATA.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/controls.h"

namespace pelmora {

// The window classes of pictures and shapes.
inline constexpr const wchar_t* kPictureWindowClass = L"PelmoraPicture";
inline constexpr const wchar_t* kShapeWindowClass = L"PelmoraShape";

// Registers both classes once for the process.
void RegisterPictureClasses();

// The control a window of the program's own classes draws from, kept in the window's
// GWLP_USERDATA; nullptr before the first sync.
inline void AttachControl(HWND window, const Control& control) {
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&control));
}
template <typename T>
const T* ControlOfWindow(HWND window) {
    return reinterpret_cast<const T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Registers a window class of the program's own: the arrow pointer and no background
// brush, since each of these windows paints all of itself.
void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, UINT style, int extraBytes = 0);

// The area inside a picture's border (the window's outermost layout pixels, scaled), in its
// window's client coordinates.
RECT PictureInside(const PictureBox& picture, HWND window);

// Shows picture in its window: remembers the control for painting and asks for a repaint
// of only what changed since the last time (PictureBox::TakeDamage), scaled. The window
// paints its layout pixels as blocks of the scale (nearest neighbour), only what is
// visible and asked for.
void ShowPicture(HWND window, const PictureBox& picture);

// Shows shape in its window: filled, or only its outline, one layout pixel thick (the
// window's region is the ring, so what lies under the inside shows and gets painted by its
// own window).
void ShowShape(HWND window, const Shape& shape);

}  // namespace pelmora
