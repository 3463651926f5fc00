// SPDX-License-Identifier: MIT
// libFuzzer target for other programs' texts turned into UTF-8 and cut to a byte limit.
// Whatever the bytes, checked against a strict UTF-8 decoder written here:
// - ValidUtf8 gives valid UTF-8, the input itself when that is valid, the same again when
//   given its own output, and every ASCII byte of the input in its order;
// - Latin1ToUtf8 gives valid UTF-8 whose code points are the input's bytes;
// - WithoutCutOffEnd drops at most a last character that its lead byte says is incomplete;
// - StringToUtf8 gives valid UTF-8: the input when that is valid, the input without such a
//   cut-off last character when it was read only in part and the rest is valid, else the
//   bytes read as Latin-1;
// - CutAtCharacterBoundary, in UTF-8 and in a double-byte code page modelled here (lead
//   bytes 0x81..0xFE as in code page 936; a lead byte at the very end stands alone), at the
//   254-byte limit of window texts and at a limit given by the first input byte: the result
//   is the longest start of the text that ends where the encoding's walk puts a character
//   boundary and is no longer than the limit; in UTF-8 that walk steps over valid text one
//   code point at a time, so the cut of valid text is valid.
// Any broken promise aborts, which libFuzzer reports.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop.h"
#include "platform/utf8_encoding.h"
#include "base/utf8_text.h"

namespace {

unsigned Byte(char c) { return static_cast<unsigned char>(c); }
bool IsContinuation(char c) { return (Byte(c) & 0xC0) == 0x80; }

// Where each code point of text starts, when text is well-formed UTF-8: every sequence in
// its shortest form, no surrogate, nothing past U+10FFFF.
std::optional<std::vector<std::size_t>> CodePointStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    std::size_t at = 0;
    while (at < text.size()) {
        const unsigned lead = Byte(text[at]);
        // The lead byte's high bits give the length, its low bits the first bits of the code
        // point, and the length the least code point that needs it.
        struct Form {
            unsigned mask, bits;
            std::size_t length;
            char32_t least;
        };
        static constexpr Form kForms[] = {
            {0x80, 0x00, 1, 0}, {0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}};
        const Form* form = nullptr;
        for (const Form& candidate : kForms)
            if ((lead & candidate.mask) == candidate.bits) form = &candidate;
        if (!form) return std::nullopt;
        const std::size_t length = form->length;
        char32_t point = lead & ~form->mask & 0xFF;
        if (length > text.size() - at) return std::nullopt;
        for (std::size_t k = 1; k < length; ++k) {
            if (!IsContinuation(text[at + k])) return std::nullopt;
            point = point << 6 | (Byte(text[at + k]) & 0x3F);
        }
        if (point < form->least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return std::nullopt;
        starts.push_back(at);
        at += length;
    }
    return starts;
}

bool IsValidUtf8(std::string_view text) { return CodePointStarts(text).has_value(); }

std::string AsciiOf(std::string_view text) {
    std::string ascii;
    for (char c : text)
        if (Byte(c) < 0x80) ascii += c;
    return ascii;
}

// Each byte as the code point of its number, written in UTF-8 by the bits.
std::string Latin1Reference(std::string_view text) {
    std::string utf8;
    for (char c : text) {
        const unsigned point = Byte(c);
        if (point < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 + point / 64);
            utf8 += static_cast<char>(0x80 + point % 64);
        }
    }
    return utf8;
}

// A last character cut short: a lead byte followed by fewer continuation bytes than it
// announces (two for 0xC0.., three for 0xE0.., four for 0xF0..).
bool IsCutOffCharacter(std::string_view tail) {
    if (tail.empty() || Byte(tail[0]) < 0xC0) return false;
    for (std::size_t k = 1; k < tail.size(); ++k)
        if (!IsContinuation(tail[k])) return false;
    const std::size_t announced = Byte(tail[0]) >= 0xF0 ? 4 : Byte(tail[0]) >= 0xE0 ? 3 : 2;
    return tail.size() < announced;
}

void CheckValidUtf8(std::string_view text) {
    const std::string valid = pelmora::ValidUtf8(text);
    if (!IsValidUtf8(valid)) std::abort();
    if (IsValidUtf8(text) && valid != text) std::abort();
    if (pelmora::ValidUtf8(valid) != valid) std::abort();
    if (AsciiOf(valid) != AsciiOf(text)) std::abort();
}

void CheckLatin1(std::string_view text) {
    const std::string utf8 = pelmora::Latin1ToUtf8(text);
    if (!IsValidUtf8(utf8) || utf8 != Latin1Reference(text)) std::abort();
}

void CheckWithoutCutOffEnd(std::string_view text) {
    const std::string_view whole = pelmora::WithoutCutOffEnd(text);
    if (whole.data() != text.data() || whole.size() > text.size()) std::abort();
    if (whole.size() < text.size() && !IsCutOffCharacter(text.substr(whole.size()))) std::abort();
    if (IsValidUtf8(text) && whole.size() != text.size()) std::abort();
}

void CheckStringToUtf8(std::string_view text, bool cutShort) {
    const std::string utf8 = pelmora::StringToUtf8(text, cutShort);
    if (!IsValidUtf8(utf8)) std::abort();
    if (IsValidUtf8(text)) {
        if (utf8 != text) std::abort();
        return;
    }
    // Valid but for a last character the read cut off: UTF-8 without that character.
    for (std::size_t tail = 1; cutShort && tail <= 3 && tail <= text.size(); ++tail) {
        const std::string_view rest = text.substr(0, text.size() - tail);
        if (IsCutOffCharacter(text.substr(rest.size())) && IsValidUtf8(rest)) {
            if (utf8 != rest) std::abort();
            return;
        }
    }
    if (utf8 != Latin1Reference(text)) std::abort();
}

// A double-byte code page as code page 936 has it: 0x81..0xFE lead a two-byte character,
// except at the very end of the text, where such a byte stands alone.
class DoubleByteModel : public pelmora::TextEncoding {
public:
    // The cut works on the code page's bytes alone; no conversion is exercised here.
    std::string FromUtf8(std::string_view utf8) const override { return std::string(utf8); }
    std::string ToUtf8(std::string_view native) const override { return std::string(native); }
    std::size_t CharacterLength(std::string_view text, std::size_t at) const override {
        const unsigned byte = Byte(text[at]);
        return byte >= 0x81 && byte <= 0xFE && at + 1 < text.size() ? 2 : 1;
    }
};

// The character boundaries of the encoding's walk from the start, the end of text included.
std::vector<std::size_t> WalkBoundaries(const pelmora::TextEncoding& encoding, std::string_view text) {
    std::vector<std::size_t> boundaries{0};
    while (boundaries.back() < text.size()) {
        const std::size_t length = encoding.CharacterLength(text, boundaries.back());
        if (length == 0 || length > text.size() - boundaries.back()) std::abort();  // a walk must move and stay inside
        boundaries.push_back(boundaries.back() + length);
    }
    return boundaries;
}

void CheckCut(const pelmora::TextEncoding& encoding, std::string_view text, std::size_t maxBytes) {
    const std::string cut = encoding.CutAtCharacterBoundary(text, maxBytes);
    if (cut.size() > maxBytes || text.substr(0, cut.size()) != cut) std::abort();
    std::size_t longest = 0;
    for (std::size_t boundary : WalkBoundaries(encoding, text))
        if (boundary <= maxBytes) longest = boundary;
    if (cut.size() != longest) std::abort();
}

void CheckUtf8Cut(std::string_view text, std::size_t maxBytes) {
    const pelmora::Utf8Encoding encoding;
    CheckCut(encoding, text, maxBytes);
    const std::optional<std::vector<std::size_t>> starts = CodePointStarts(text);
    if (!starts) return;
    std::vector<std::size_t> boundaries = *starts;
    boundaries.push_back(text.size());
    if (WalkBoundaries(encoding, text) != boundaries) std::abort();
    if (!IsValidUtf8(encoding.CutAtCharacterBoundary(text, maxBytes))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The fuzzer's own buffer, exactly as long as the input: a read past its end is seen.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckValidUtf8(text);
    CheckLatin1(text);
    CheckWithoutCutOffEnd(text);
    CheckStringToUtf8(text, false);
    CheckStringToUtf8(text, true);

    const DoubleByteModel doubleByte;
    CheckUtf8Cut(text, pelmora::kWindowTextMaxBytes);
    CheckCut(doubleByte, text, pelmora::kWindowTextMaxBytes);
    if (size > 0) {
        // The first byte is the limit for the rest, which still ends where the buffer does.
        const std::size_t maxBytes = data[0];
        CheckUtf8Cut(text.substr(1), maxBytes);
        CheckCut(doubleByte, text.substr(1), maxBytes);
    }
    return 0;
}
