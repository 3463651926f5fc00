// SPDX-License-Identifier: MIT
#include "platform/utf8_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace pelmora {
namespace {

TEST(Utf8Encoding, CutNeverSplitsACharacter) {
    struct Case {
        std::string text;
        std::size_t maxBytes;
        std::string expected;
    };
    const Case cases[] = {
        {"abc", 5, "abc"},
        {"abc", 0, ""},
        {"a中", 3, "a"},  // 中 takes bytes 1..3
        {"a中", 4, "a中"},
        {"😀x", 3, ""},  // four-byte character
        {"😀x", 4, "😀"},
        {"a\x80\x80z", 2, "a\x80"},  // stray continuation bytes count one each
        {"a\xE4"
         "b",
         2, "a\xE4"},                     // a lead byte without its continuation is one byte
        {"ab\xE4\xB8", 4, "ab\xE4\xB8"},  // a truncated last character that fits stays
    };
    const Utf8Encoding encoding;
    for (const auto& c : cases) EXPECT_EQ(encoding.CutAtCharacterBoundary(c.text, c.maxBytes), c.expected) << c.text;
}

}  // namespace
}  // namespace pelmora
