// The system clipboard in its plain-text format (the CLIPBOARD selection on X11, the one
// Ctrl+C and Ctrl+V use). Texts are UTF-8 inside the program; the backend converts.
#pragma once

#include <string>

namespace pelmora {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Takes everything off the clipboard.
    virtual void Clear() = 0;
    virtual void SetText(const std::string& text) = 0;
    // The clipboard's text; empty when it holds no text (nothing, or only a picture).
    virtual std::string Text() = 0;
};

}  // namespace pelmora
