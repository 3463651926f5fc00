// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "cli/json_text.h"

using namespace pelmora;

TEST(JsonString, EscapesWhatJsonForbidsAndKeepsUtf8) {
    EXPECT_EQ(JsonString(""), "\"\"");
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString("\t\r\n"), "\"\\t\\r\\n\"");
    EXPECT_EQ(JsonString(std::string("\x01\x1F", 2)), "\"\\u0001\\u001F\"");
    EXPECT_EQ(JsonString(std::string("a\0b", 3)), "\"a\\u0000b\"");
    EXPECT_EQ(JsonString("窗口 /\x7F"), "\"窗口 /\x7F\"");  // UTF-8, slash and DEL pass as they are
}
