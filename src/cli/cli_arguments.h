// SPDX-License-Identifier: MIT
// pelmora-cli's command line: the command, its operands and options read into one
// request, or the answer that needs no desktop (help, version, a bad argument).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/desktop.h"
#include "sampling/colour_model.h"

namespace pelmora {

// Exit statuses: done or found; not found, timed out, off the screen or no such window; a
// bad command line; no display or the platform refused.
inline constexpr int kCliDone = 0;
inline constexpr int kCliNotFound = 1;
inline constexpr int kCliBadArguments = 2;
inline constexpr int kCliNoDesktop = 3;

// What the program prints and the status it exits with.
struct CliResult {
    int status = kCliDone;
    std::string out;  // standard output, whole lines
    std::string err;  // standard error, whole lines
};

enum class CliCommand {
    Pointer,
    Pixel,
    WindowAt,
    Window,
    Windows,
    CursorCode,
    FindColour,
    FindImage,
    Snapshot,
    WaitColour,
    WaitImage,
    WaitCursor
};
enum class ColourFormat { Hex, Decimal, Rgb, Hsl, All };

struct CliRequest {
    CliCommand command = CliCommand::Pointer;
    std::optional<ScreenPoint> point;   // pixel, window-at, wait-colour: X Y; the pointer when absent
    WindowHandle handle = 0;            // window
    std::optional<std::string> search;  // windows --search
    int method = 0;                     // cursor-code --method
    ColourFormat format = ColourFormat::Hex;
    Colour colour = 0;                   // find-colour, wait-colour: COLOUR
    std::uint32_t code = 0;              // wait-cursor CODE
    std::string file;                    // find-image, snapshot, wait-image: FILE
    std::optional<ScreenRegion> region;  // --region (every monitor when absent), --rect (the primary screen)
    int tolerance = 0;                   // --tolerance
    std::optional<Colour> transparent;   // --transparent
    bool all = false;                    // --all: every match, not the first
    bool cursor = false;                 // snapshot --cursor: the cursor drawn in
    std::uint32_t timeoutMs = 10000;     // the waits' --timeout
    std::uint32_t intervalMs = 50;       // the waits' --interval between looks
    bool json = false;
};

// The FILE of snapshot that stands for standard output.
inline constexpr const char* kStandardOutputFile = "-";

// Reads the arguments after the program name. A bad argument gives status 2 and a message
// that names the argument and what it wanted; --help and --version give their text.
std::variant<CliRequest, CliResult> ParseCliArguments(const std::vector<std::string>& args);

// Value readers for the arguments that take a colour, a tolerance or a region.
// COLOUR: six hexadecimal digits in blue-green-red order ("0000FF" is red), or "#RRGGBB"
// in red-green-blue order; either case.
std::optional<Colour> ParseColourArgument(std::string_view text);
// A tolerance: a whole number from 0 to 255.
std::optional<int> ParseToleranceArgument(std::string_view text);
// A region "L,T,W,H": left and top any 32-bit number, width and height at least 1.
std::optional<ScreenRegion> ParseRegionArgument(std::string_view text);

}  // namespace pelmora
