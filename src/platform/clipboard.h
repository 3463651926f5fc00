// SPDX-License-Identifier: MIT
// The system clipboard (the CLIPBOARD selection on X11, the one Ctrl+C and Ctrl+V use) in
// its plain-text and picture formats. Texts are UTF-8 inside the program; the backend
// converts.
#pragma once

#include <optional>
#include <string>

#include "platform/surface.h"

namespace pelmora {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Takes everything off the clipboard.
    virtual void Clear() = 0;
    virtual void SetText(const std::string& text) = 0;
    // Puts picture on the clipboard as an image other programs can paste.
    virtual void SetPicture(const Surface& picture) = 0;
    // The clipboard's text; empty when it holds no text (nothing, or only a picture);
    // nothing at all when it could not be read (another program holds it open, or the
    // program that owns it does not answer), which a paste must not take for empty text.
    virtual std::optional<std::string> Text() = 0;
    // The clipboard's picture, in whichever image format another program put it there (a
    // bitmap, PNG …); nothing when it holds none, or one that cannot be read.
    virtual std::optional<Surface> Picture() = 0;
};

}  // namespace pelmora
