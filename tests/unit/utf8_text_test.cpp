// SPDX-License-Identifier: MIT
#include "base/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace pelmora {
namespace {

// Bytes typed STRING read only in part: the X11 suite reads whole properties and titles cut
// far beyond the last character kept, so these ends are seen only here.
TEST(StringToUtf8, ACharacterCutOffWhereTheReadEndedIsDroppedAndMakesNoLatin1) {
    const std::string zhong = "\xE4\xB8\xAD";  // 中
    EXPECT_EQ(StringToUtf8("ab" + zhong + "c\xE4\xB8", true), "ab中c");
    EXPECT_EQ(StringToUtf8("ab" + zhong + "c\xE4", true), "ab中c");
    EXPECT_EQ(StringToUtf8("ab" + zhong, true), "ab中");
    // A class name of which only a lead byte was read, after a long instance name.
    EXPECT_EQ(StringToUtf8("\xC3", true), "");

    // Read whole, the same bytes are no UTF-8: every byte is a Latin-1 character.
    EXPECT_EQ(StringToUtf8("ab" + zhong + "c\xE4\xB8", false),
              "ab\xC3\xA4\xC2\xB8\xC2\xAD"
              "c\xC3\xA4\xC2\xB8");
    // Latin-1 before the end stays Latin-1, the last byte included.
    EXPECT_EQ(StringToUtf8("\xE9t\xE9", true), "été");
    // Four continuation bytes are more than one character can have: no cut-off character.
    EXPECT_EQ(StringToUtf8("a\x80\x80\x80\x80", true), "a\xC2\x80\xC2\x80\xC2\x80\xC2\x80");
}

}  // namespace
}  // namespace pelmora
