// SPDX-License-Identifier: MIT
// Texts from other programs (window titles, file names) as pelmora-cli shows them in plain
// lines: every control character visible as an escape, so that one value stays one line
// and nothing in it reaches a terminal as a command.
#pragma once

#include <string>
#include <string_view>

namespace pelmora {

// utf8 with \n, \r, \t, \e (escape) and \xHH for the other C0 controls and DEL, and \u0080
// to \u009F for the C1 controls (a terminal takes U+009B as the start of a command). With
// doubleBackslash a backslash becomes \\, so that every escape reads back unambiguously;
// without it (file names in messages, where Windows paths are full of them) it stays one.
std::string ShownText(std::string_view utf8, bool doubleBackslash);

// A file name or an argument quoted in a message: "name", with ShownText's escapes but
// single backslashes.
std::string QuotedInMessage(std::string_view utf8);

}  // namespace pelmora
