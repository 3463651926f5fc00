// SPDX-License-Identifier: MIT
// The Windows clipboard: text as CF_UNICODETEXT (Windows offers it as CF_TEXT in the ANSI
// code page to programs that ask for that) and pictures as CF_DIB.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>

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

// Where the pixels of a packed DIB (a CF_DIB block: information header, masks, colour
// table, pixels) begin once a 14-byte file header is put before it, the offset that header
// names; empty when the header is too short or the offset lies past the block.
std::optional<std::uint32_t> PackedDibPixelOffset(std::string_view dib);

}  // namespace pelmora
