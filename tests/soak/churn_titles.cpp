// SPDX-License-Identifier: MIT
#include "churn_titles.h"

#include <array>
#include <string_view>

namespace pelmora::soak {

namespace {

constexpr std::array<std::string_view, 24> kChinese = {"窗", "口", "标", "题", "记", "事", "本", "屏",
                                                       "幕", "取", "点", "颜", "色", "坐", "器", "句",
                                                       "柄", "遍", "历", "搜", "索", "测", "试", "文"};
constexpr std::array<std::string_view, 8> kWords = {"Notepad", "Untitled", "Document", "Terminal",
                                                    "Browser", "Settings", "Report",   "Editor"};
// Characters beyond the basic plane (four bytes each), a letter with a combining mark, a symbol.
constexpr std::array<std::string_view, 4> kOther = {"\xF0\x9F\x98\x80", "\xF0\xA0\x80\x80", "e\xCC\x81",
                                                    "\xE2\x9C\x93"};
// Ill-formed UTF-8: a stray continuation byte, bytes never used, overlong forms, a
// surrogate, a code point past U+10FFFF, and sequences cut short.
constexpr std::array<std::string_view, 9> kIllFormed = {
    "\x80", "\xFF", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE4\xB8", "\xF0\x9F\x98", "\xFE"};

}  // namespace

std::size_t TitleGenerator::Between(std::size_t low, std::size_t high) {
    return std::uniform_int_distribution<std::size_t>(low, high)(random_);
}

std::string TitleGenerator::Chinese(std::size_t characters) {
    std::string text;
    for (std::size_t i = 0; i < characters; ++i) text += kChinese[Between(0, kChinese.size() - 1)];
    return text;
}

std::string TitleGenerator::AsciiWords(std::size_t words) {
    std::string text;
    for (std::size_t i = 0; i < words; ++i) {
        if (i) text += ' ';
        text += kWords[Between(0, kWords.size() - 1)];
    }
    return text;
}

std::string TitleGenerator::LongUtf8(std::size_t bytes) {
    std::string text;
    while (text.size() < bytes) {
        switch (Between(0, 2)) {
            case 0: text += AsciiWords(Between(1, 4)) + ' '; break;
            case 1: text += Chinese(Between(1, 30)); break;
            default: text += kOther[Between(0, kOther.size() - 1)]; break;
        }
    }
    return text;
}

std::string TitleGenerator::IllFormedUtf8() {
    std::string text;
    const std::size_t pieces = Between(2, 12);
    for (std::size_t i = 0; i < pieces; ++i) {
        switch (Between(0, 3)) {
            case 0: text += AsciiWords(1); break;
            case 1: text += Chinese(Between(1, 5)); break;
            case 2: text += kIllFormed[Between(0, kIllFormed.size() - 1)]; break;
            default: text += static_cast<char>(Between(0x80, 0xFF)); break;
        }
    }
    // Sometimes long enough that a bad sequence straddles the point where titles are cut.
    if (Between(0, 3) == 0) text = LongUtf8(Between(240, 270)) + text;
    return text;
}

std::string TitleGenerator::Latin1(std::size_t bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes; ++i) {
        const std::size_t byte = Between(0, 2) == 0 ? Between(0xA0, 0xFF) : Between(0x20, 0x7E);
        text += static_cast<char>(byte);
    }
    return text;
}

WindowTitles TitleGenerator::Next() {
    switch (Between(0, 7)) {
        case 0: return {LongUtf8(Between(2048, 12288)), Latin1(Between(1, 60))};
        case 1: return {Chinese(Between(1, 40)), std::nullopt};
        case 2: return {IllFormedUtf8(), std::nullopt};
        case 3: return {std::nullopt, Latin1(Between(1, 300))};  // WM_NAME alone, as old programs set it
        case 4: return {std::nullopt, Latin1(Between(2048, 8192))};
        case 5: return {std::string(), LongUtf8(Between(10, 400))};  // UTF-8 typed STRING, as XStoreName writes it
        case 6: {
            std::string withNul = Chinese(Between(1, 10));
            withNul += '\0';
            withNul += AsciiWords(2);
            return {withNul, AsciiWords(1) + std::string(1, '\0') + Latin1(5)};
        }
        default: return {};  // no title at all
    }
}

}  // namespace pelmora::soak
