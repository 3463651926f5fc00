// SPDX-License-Identifier: MIT
// The encoding of every platform whose own texts are UTF-8 already (Linux): conversions
// are the identity, and characters are as long as their lead bytes announce.
#pragma once

#include "platform/text_encoding.h"

namespace pelmora {

class Utf8Encoding : public TextEncoding {
public:
    std::string FromUtf8(std::string_view utf8) const override { return std::string(utf8); }
    std::string ToUtf8(std::string_view native) const override { return std::string(native); }
    // What the lead byte announces, as far as continuation bytes actually follow; a stray
    // byte counts as one character.
    std::size_t CharacterLength(std::string_view text, std::size_t at) const override;
};

}  // namespace pelmora
