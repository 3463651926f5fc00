// SPDX-License-Identifier: MIT
#include "base/utf8_text.h"

namespace pelmora {

namespace {
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD
}  // namespace

std::string ValidUtf8(std::string_view text) {
    std::string valid;
    valid.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            valid += text[at++];
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;   // shorter forms are overlong
            if (lead == 0xED) high = 0x9F;  // D800..DFFF are surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
        }
        std::size_t wellFormed = 1;
        while (length != 0 && wellFormed < length && at + wellFormed < text.size()) {
            const auto byte = static_cast<unsigned char>(text[at + wellFormed]);
            const bool fits = wellFormed == 1 ? byte >= low && byte <= high : byte >= 0x80 && byte <= 0xBF;
            if (!fits) break;
            ++wellFormed;
        }
        if (length != 0 && wellFormed == length) valid.append(text.substr(at, length));
        else valid.append(kReplacementCharacter);
        at += wellFormed;
    }
    return valid;
}

std::string Latin1ToUtf8(std::string_view text) {
    std::string utf8;
    utf8.reserve(text.size() * 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | byte >> 6);
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

std::string_view WithoutCutOffEnd(std::string_view text) {
    std::size_t start = text.size();
    while (start > 0 && text.size() - start < 4 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80)
        --start;
    if (start == 0) return text;
    const auto lead = static_cast<unsigned char>(text[start - 1]);
    const std::size_t announced = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return announced > text.size() - (start - 1) ? text.substr(0, start - 1) : text;
}

std::string StringToUtf8(std::string_view text, bool cutShort) {
    // The cut-off character is dropped, not kept: with it the text would not be valid.
    const std::string_view whole = cutShort ? WithoutCutOffEnd(text) : text;
    if (ValidUtf8(whole) == whole) return std::string(whole);
    return Latin1ToUtf8(text);
}

}  // namespace pelmora
