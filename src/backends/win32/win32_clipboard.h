// SPDX-License-Identifier: MIT
// The Windows clipboard: text as CF_UNICODETEXT (Windows offers it as CF_TEXT in the ANSI
// code page to programs that ask for that) and pictures as CF_DIB.
#pragma once

#include <windows.h>

#include <optional>

#include "platform/clipboard.h"

namespace pelmora {

class Win32Clipboard : public Clipboard {
public:
    // The window that opens the clipboard and owns what the program puts there.
    void SetOwner(HWND window) { owner_ = window; }

    void Clear() override;
    void SetText(const std::string& text) override;
    void SetPicture(const Surface& picture) override;
    std::optional<std::string> Text() override;
    std::optional<Surface> Picture() override;

private:
    HWND owner_ = nullptr;
};

}  // namespace pelmora
