// SPDX-License-Identifier: MIT
#include "backends/win32/win32_text.h"

#include <windows.h>

namespace pelmora {

namespace {

std::wstring ToWide(UINT codePage, std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string FromWide(UINT codePage, std::wstring_view wide) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

}  // namespace

std::wstring Wide(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }
std::string Utf8(std::wstring_view wide) { return FromWide(CP_UTF8, wide); }

std::string AnsiEncoding::FromUtf8(std::string_view utf8) const { return FromWide(CP_ACP, Wide(utf8)); }
std::string AnsiEncoding::ToUtf8(std::string_view native) const { return Utf8(ToWide(CP_ACP, native)); }

std::size_t AnsiEncoding::CharacterLength(std::string_view text, std::size_t at) const {
    // A lead byte at the very end has no trail byte: it stands alone.
    const bool lead = IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(text[at])) != 0;
    return lead && at + 1 < text.size() ? 2 : 1;
}

}  // namespace pelmora
