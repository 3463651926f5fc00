// SPDX-License-Identifier: MIT
// A console program's command line and output in UTF-8: arguments taken from the UTF-16
// command line, so no character is lost to the ANSI code page, and text written so that
// every character shows in a console and a pipe or file receives the UTF-8 bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pelmora {

// The arguments after the program's name, split as the C runtime splits them
// (CommandLineToArgvW), in UTF-8.
std::vector<std::string> Utf8Arguments();

enum class StandardStream { Output, Error };

// Writes UTF-8 text to standard output or error: to a console in UTF-16 (WriteConsoleW),
// whatever the console's code page; to anything else (a pipe, a file) as the bytes
// themselves, line ends untouched. False when not all of it could be written, also when
// the stream is missing.
bool WriteUtf8(StandardStream stream, std::string_view text);

// Standard output is a console window (not a pipe or a file).
bool StandardOutputIsConsole();

}  // namespace pelmora
