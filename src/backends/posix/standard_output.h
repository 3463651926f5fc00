// SPDX-License-Identifier: MIT
// A Linux program's standard output: what it is connected to, and writing to it with the
// system's reason when that fails.
#pragma once

#include <string>
#include <string_view>

namespace pelmora {

// Standard output is a terminal (not a pipe or a file), where binary bytes do not belong.
bool StandardOutputIsTerminal();

// Writes bytes to standard output through its buffer; the system's reason when they could
// not be written ("No space left on device"), "" when they were.
std::string WriteStandardOutput(std::string_view bytes);

// Writes out what standard output's buffer holds; the system's reason when it could not.
std::string FlushStandardOutput();

}  // namespace pelmora
