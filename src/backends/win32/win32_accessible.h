// SPDX-License-Identifier: MIT
// What accessibility clients (screen readers, desktop test tools) learn of a control's
// window: the system's own accessible object for it, with the control's id ("坐标颜色(3)")
// as its description and what a person reads as its name.
#pragma once

#include <windows.h>

#include <string>

namespace pelmora {

// The answer to WM_GETOBJECT for the window's client object: an object that tells the
// description and name given and leaves everything else (role, state, value, location,
// children …) to the system's standard object for the window. 0 for any other object,
// which the caller then leaves to the window's own procedure.
LRESULT AnswerAccessibleObject(HWND window, WPARAM flags, LPARAM objectId, const std::wstring& description,
                               const std::wstring& name);

}  // namespace pelmora
