// SPDX-License-Identifier: MIT
// What a pelmora-cli run ends with: the text for standard output and standard error and
// the exit status a script branches on.
#pragma once

#include <string>
#include <utility>

namespace pelmora {

// Exit statuses: done or found; not found, timed out, off the screen or no such window; a
// bad command line or a picture file that cannot be read; no display, or the system refused
// (the screen could not be read, a file or the output could not be written).
inline constexpr int kCliDone = 0;
inline constexpr int kCliNotFound = 1;
inline constexpr int kCliBadArguments = 2;
inline constexpr int kCliRefused = 3;

// What the program prints and the status it exits with.
struct CliResult {
    int status = kCliDone;
    std::string out;  // standard output, whole lines
    std::string err;  // standard error, whole lines
};

// A success that prints out.
inline CliResult Answered(std::string out) { return {kCliDone, std::move(out), ""}; }

// A failure with status and one line of message on standard error, nothing on standard output.
inline CliResult Refusal(int status, const std::string& message) {
    return {status, "", "pelmora-cli: " + message + "\n"};
}

}  // namespace pelmora
