// SPDX-License-Identifier: MIT
// The Windows bitmap (BMP) file: how a picture is saved (snapshots, the editor's files)
// and how a bitmap file a user opens or drops is read back into a picture; and the same
// bitmap packed, without its file header, as the Windows clipboard holds it (CF_DIB). All
// work on bytes in memory; reading and writing the file or clipboard itself is the caller's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/surface.h"

namespace pelmora {

// The largest width and height a bitmap file may have to be read; a picture that size
// takes 1 GiB in memory.
inline constexpr int kMaxBitmapSide = 16384;

// The file a picture is saved as: 24 bits per pixel, rows bottom-up, each padded with zero
// bytes to a multiple of 4; file header "BM", file size, 0, 0, pixel offset 54; 40-byte
// information header: size 40, width, height (positive), planes 1, 24 bits, compression 0,
// image size (padded row bytes * height), resolution 3780 x 3780 pixels per metre (96 dpi),
// 0 colours, 0 important. A colour value v is written as the bytes blue (v >> 16), green
// (v >> 8), red (v); its top byte is dropped, so -1 (transparent) is written as white.
// An empty picture gives a file without rows, which no reader accepts.
std::string EncodeBitmap(const Surface& picture);

// The packed bitmap of a picture (CF_DIB): EncodeBitmap's file without its 14-byte file
// header, the information header first and the rows right after it.
std::string EncodePackedBitmap(const Surface& picture);

// A picture read from a bitmap file's bytes, or the reason it cannot be read.
struct DecodedBitmap {
    std::optional<Surface> picture;  // set when the file was read
    std::string error;               // why not, in the window's words (Chinese), when picture is empty
    std::string englishError;        // the same in English, for pelmora-cli's messages
};

// Reads the bitmaps a user meets: 1, 4 and 8 bits with a colour table (a pixel whose index
// lies past the table reads as black), 16 bits (5-5-5 or bit-field masks), 24 bits and
// 32 bits (blue, green, red, unused; or bit-field masks; alpha is ignored); rows bottom-up
// or top-down (negative height); the 12-byte OS/2 core header and the 40, 52, 56, 108 and
// 124-byte Windows information headers. Compressed files (RLE, JPEG, PNG) and anything
// else are refused with the reason. Every size and offset in the file is checked against
// the length of bytes before anything is allocated; the file-size field is not trusted.
// A picture of more than maxPixels pixels is refused as too large before it is allocated.
DecodedBitmap DecodeBitmap(std::string_view bytes,
                           std::int64_t maxPixels = std::int64_t{kMaxBitmapSide} * kMaxBitmapSide);

// The first bytes of a bitmap file that hold every header and the colour table.
inline constexpr std::size_t kBitmapHeadBytes = 2048;

// How many bytes of a bitmap file its headers promise (up to the end of its last row), told
// from the file's first bytes (kBitmapHeadBytes, or the whole of a shorter file) and its
// size; or why it cannot be read: the headers refused as DecodeBitmap refuses them, more
// than maxPixels pixels, or rows that reach past the file's end. Nothing past the head
// needs to be read for that.
struct BitmapExtent {
    std::uint64_t bytes = 0;   // 0 when refused
    std::string error;         // why not, in the window's words
    std::string englishError;  // the same in English
    bool tooLarge = false;     // refused for its size alone
};
BitmapExtent MeasureBitmapFile(std::string_view head, std::uint64_t fileSize, std::int64_t maxPixels);

// Reads a packed bitmap, a bitmap file without its file header (CF_DIB), with the variants,
// checks and reasons of DecodeBitmap. With no file header to say where the pixels are, they
// follow the information header, the three or four masks that only a 40-byte header with
// bit fields has behind it, and the colour table: the number of colours used when the
// header gives one, at any depth, else 2^bits entries below 16 bits (3 bytes each after a
// core header, which gives no count). A V5 header's colour profile belongs after the
// pixels; one placed straight after the colour table, as its offset shows, comes before
// them. Bytes after the pixels (a profile, the rounding up of a clipboard's memory block)
// are not read.
DecodedBitmap DecodePackedBitmap(std::string_view bytes,
                                 std::int64_t maxPixels = std::int64_t{kMaxBitmapSide} * kMaxBitmapSide);

}  // namespace pelmora
