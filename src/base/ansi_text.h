// Text between the program and the outside world. Inside the program text is UTF-8; files
// and window texts on Windows are in the ANSI code page, on Linux in UTF-8 already.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pelmora {

// UTF-8 to the ANSI code page (Windows; characters it lacks become its default character).
// Elsewhere the text comes back unchanged.
std::string Utf8ToAnsi(std::string_view utf8);

// The ANSI code page to UTF-8 (Windows). Elsewhere the text comes back unchanged.
std::string AnsiToUtf8(std::string_view ansi);

// The longest start of text, at most maxBytes long, that ends on a character boundary:
// a character that does not fit whole is dropped whole. The text is in the platform's
// own encoding: the ANSI code page (double-byte ones included) on Windows, UTF-8 elsewhere.
std::string CutAtCharacterBoundary(std::string_view text, std::size_t maxBytes);

}  // namespace pelmora
