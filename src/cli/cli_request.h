// SPDX-License-Identifier: MIT
// One pelmora-cli command line, read: the command and every value its operands and options
// gave, each left at its default when not given.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/desktop.h"
#include "sampling/colour_model.h"

namespace pelmora {

struct CliCommand;

enum class ColourFormat { Hex, Decimal, Rgb, Hsl, All };

struct CliRequest {
    const CliCommand* command = nullptr;
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

}  // namespace pelmora
