// SPDX-License-Identifier: MIT
// Other programs' texts into valid UTF-8: a window title or class name comes as bytes that
// claim to be UTF-8 or Latin-1 and may be either, broken or cut off where a read stopped.
#pragma once

#include <string>
#include <string_view>

namespace pelmora {

// text with each maximal ill-formed part of a UTF-8 sequence replaced by one U+FFFD (the
// practice the Unicode standard recommends): overlong forms, surrogates, code points past
// U+10FFFF, stray continuation bytes and cut-off sequences. Valid text stays as it is.
std::string ValidUtf8(std::string_view text);

// Latin-1 bytes as UTF-8: each byte is the code point of the same number.
std::string Latin1ToUtf8(std::string_view text);

// text without a last character that is cut short: where a piece read ends.
std::string_view WithoutCutOffEnd(std::string_view text);

// Bytes that ought to be Latin-1 (X11's STRING type) yet are often UTF-8 (XStoreName from a
// UTF-8 locale; Qt and GTK for WM_CLASS). Bytes that form valid UTF-8 are taken as UTF-8:
// Latin-1 text beyond ASCII practically never does. cutShort tells that the bytes were read
// only in part: a character cut off at their end then does not make UTF-8 look like
// Latin-1, and is left out. The result is always valid UTF-8.
std::string StringToUtf8(std::string_view text, bool cutShort);

}  // namespace pelmora
