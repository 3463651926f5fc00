// SPDX-License-Identifier: MIT
#include "platform/utf8_encoding.h"

namespace pelmora {

namespace {
bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

std::size_t Utf8Encoding::CharacterLength(std::string_view text, std::size_t at) const {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t announced = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    std::size_t length = 1;
    while (length < announced && at + length < text.size() && IsContinuation(text[at + length])) ++length;
    return length;
}

}  // namespace pelmora
