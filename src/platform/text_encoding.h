// SPDX-License-Identifier: MIT
// The platform's own text encoding. Inside the program text is UTF-8; files and other
// programs' texts come in the platform's encoding: the ANSI code page on Windows, UTF-8
// on Linux. Each backend provides the conversions and knows where its characters begin.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pelmora {

class TextEncoding {
public:
    virtual ~TextEncoding() = default;
    // UTF-8 to the platform's encoding (characters it lacks become its default character).
    virtual std::string FromUtf8(std::string_view utf8) const = 0;
    // The platform's encoding to UTF-8.
    virtual std::string ToUtf8(std::string_view native) const = 0;
    // Bytes of the character that starts at text[at], in the platform's encoding.
    virtual std::size_t CharacterLength(std::string_view text, std::size_t at) const = 0;

    // The longest start of text (platform encoding), at most maxBytes long, that ends on a
    // character boundary: a character that does not fit whole is dropped whole.
    std::string CutAtCharacterBoundary(std::string_view text, std::size_t maxBytes) const;
};

}  // namespace pelmora
