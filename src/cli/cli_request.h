// SPDX-License-Identifier: MIT
// One pelmora-cli command line, read: the command and every value its operands and options
// gave, each left at its default when not given.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "search/point_pattern.h"
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
    Colour colour = 0;                        // find-colour, wait-colour: COLOUR
    std::uint32_t code = 0;                   // wait-cursor CODE
    std::string file;                         // snapshot: FILE
    std::vector<std::string> pictures;        // find-image, wait-image: FILE...
    PointPattern pattern;                     // find-points, wait-points: COLOUR DX,DY,COLOUR...
    std::optional<ScreenRegion> region;       // --region (every monitor when absent), --rect (the primary screen)
    int tolerance = 0;                        // --tolerance
    std::optional<Colour> transparent;        // --transparent
    bool all = false;                         // --all: every match, not the first
    std::optional<double> similarity;         // --similarity: 0 < S <= 1
    std::vector<double> scales;               // --scales: the picture's factors; empty is 1 alone
    std::optional<int> minDistance;           // --min-distance: whole pixels from 0
    std::vector<int> slots;                   // --slots: slot numbers 1 to 10, in the order given
    std::optional<std::string> settingsFile;  // slots --file
    std::optional<WindowHandle> window;       // --window, window-rect's HANDLE
    std::optional<std::string> title;         // --title: the first window whose title holds it
    bool client = false;                      // --client: the window's client area, not its frame
    std::optional<std::uint32_t> stableMs;    // wait-stable --for
    bool cursor = false;                      // snapshot --cursor: the cursor drawn in
    std::uint32_t timeoutMs = 10000;          // the waits' --timeout
    std::uint32_t intervalMs = 50;            // the waits' --interval between looks
    bool json = false;
    std::string backend;  // --backend, or the program's own choice; "" where there is none
};

// The FILE of snapshot that stands for standard output.
inline constexpr const char* kStandardOutputFile = "-";

}  // namespace pelmora
