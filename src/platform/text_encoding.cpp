// SPDX-License-Identifier: MIT
#include "platform/text_encoding.h"

namespace pelmora {

std::string TextEncoding::CutAtCharacterBoundary(std::string_view text, std::size_t maxBytes) const {
    // Walk from the start: in a double-byte code page a trail byte can look like a lead
    // byte, so only the walk knows where characters begin.
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + CharacterLength(text, end);
        if (next > maxBytes) break;
        end = next;
    }
    return std::string(text.substr(0, end));
}

}  // namespace pelmora
