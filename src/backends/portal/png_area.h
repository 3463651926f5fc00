// SPDX-License-Identifier: MIT
// Reading part of a PNG picture held in memory, with libpng: its size from the header alone,
// and a rectangle of it decoded row by row, stopping after the rectangle's last row, so that
// one pixel near the top of a screenshot costs a fraction of decoding it whole.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "platform/desktop.h"
#include "platform/surface.h"

namespace pelmora {

struct PngHeader {
    ScreenSize size;
    bool interlaced = false;
};

// The picture's header, or nothing when png is not a PNG libpng can read.
std::optional<PngHeader> ReadPngHeader(std::span<const unsigned char> png);

// Copies the area of the picture (which must lie inside it, and not be empty) into target with its top-left
// at (at.x, at.y), each pixel as 0x00BBGGRR (alpha dropped: a screenshot is opaque). Pixels
// of the area outside target are skipped. "" when done, else libpng's reason.
std::string ReadPngArea(std::span<const unsigned char> png, ScreenRegion area, Surface& target, ScreenPoint at);

}  // namespace pelmora
