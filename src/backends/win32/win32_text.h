// SPDX-License-Identifier: MIT
// Text between the program (UTF-8), the Unicode window functions (UTF-16) and the ANSI
// code page in which other programs' window texts, the settings file and the A functions
// speak.
#pragma once

#include <string>
#include <string_view>

#include "platform/text_encoding.h"

namespace pelmora {

// UTF-8 to UTF-16 and back; invalid UTF-8 becomes U+FFFD.
std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// The ANSI code page of the system: characters it lacks become its default character
// ("?"), and a character is one byte or, in a double-byte code page (936 for Chinese), a
// lead byte with its trail byte.
class AnsiEncoding : public TextEncoding {
public:
    std::string FromUtf8(std::string_view utf8) const override;
    std::string ToUtf8(std::string_view native) const override;
    std::size_t CharacterLength(std::string_view text, std::size_t at) const override;
};

}  // namespace pelmora
