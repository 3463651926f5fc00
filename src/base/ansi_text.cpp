#include "base/ansi_text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace pelmora {

namespace {

#ifdef _WIN32

std::wstring Widen(std::string_view text, UINT codePage) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

// Bytes of the character starting at text[at]: two for a lead byte of a double-byte code
// page with its trail byte present, one otherwise.
std::size_t CharacterLength(std::string_view text, std::size_t at) {
    return IsDBCSLeadByte(static_cast<BYTE>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

#else

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Bytes of the UTF-8 character starting at text[at]: what its lead byte announces, as far
// as continuation bytes actually follow. A stray byte counts as one character.
std::size_t CharacterLength(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t announced = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    std::size_t length = 1;
    while (length < announced && at + length < text.size() && IsContinuation(text[at + length])) ++length;
    return length;
}

#endif

}  // namespace

#ifdef _WIN32
std::string Utf8ToAnsi(std::string_view utf8) { return Narrow(Widen(utf8, CP_UTF8), CP_ACP); }
std::string AnsiToUtf8(std::string_view ansi) { return Narrow(Widen(ansi, CP_ACP), CP_UTF8); }
#else
std::string Utf8ToAnsi(std::string_view utf8) { return std::string(utf8); }
std::string AnsiToUtf8(std::string_view ansi) { return std::string(ansi); }
#endif

std::string CutAtCharacterBoundary(std::string_view text, std::size_t maxBytes) {
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
