// SPDX-License-Identifier: MIT
// Text as a JSON string: quoted, with quotes, backslashes and control characters escaped.
#pragma once

#include <string>
#include <string_view>

namespace pelmora {

// utf8 in double quotes; bytes from 0x80 up pass as they are, since JSON text is UTF-8.
std::string JsonString(std::string_view utf8);

}  // namespace pelmora
