// SPDX-License-Identifier: MIT
// Rectangles of the root window read into colour values: the larger ones over one MIT-SHM
// segment kept for the reader's life where the server can share memory with us, the rest
// (and all of them where it cannot, as on a remote display) with a plain XGetImage; every
// image converted row by row.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstddef>
#include <cstdint>

#include "base/channel_scale.h"
#include "platform/surface.h"
#include "backends/x11/x11_connection.h"

namespace pelmora {

// How a visual packs red, green and blue into a pixel value.
struct PixelMasks {
    unsigned long red = 0, green = 0, blue = 0;
    friend bool operator==(const PixelMasks&, const PixelMasks&) = default;
};

// A visual's pixel values as colour values (0x00BBGGRR): each channel widened or narrowed
// from its mask's width to 8 bits, rounded to the nearest step (ChannelScale), by tables
// made once for the visual.
class PixelColours {
public:
    explicit PixelColours(const PixelMasks& masks);
    const PixelMasks& Masks() const { return masks_; }
    std::int32_t operator()(std::uint32_t pixel) const {
        return static_cast<std::int32_t>(red_.Of(pixel) | green_.Of(pixel) << 8 | blue_.Of(pixel) << 16);
    }

private:
    PixelMasks masks_;
    ChannelScale red_, green_, blue_;
};

// Writes the image's width x height pixels as colour values into target, the image's
// top-left pixel at (left, top) of target; the image must fit there. Rows are read with
// the image's bytes_per_line and byte order.
void CopyImageInto(XImage& image, const PixelColours& colours, Surface& target, int left, int top);

class X11ScreenReader {
public:
    enum class Transport {
        SharedMemoryWhenOffered,  // MIT-SHM when the server offers it and can attach our segment
        Plain,                    // XGetImage, the image travelling in the reply
    };

    explicit X11ScreenReader(X11Connection& connection, Transport transport = Transport::SharedMemoryWhenOffered);
    ~X11ScreenReader();
    X11ScreenReader(const X11ScreenReader&) = delete;
    X11ScreenReader& operator=(const X11ScreenReader&) = delete;

    // Reads the root rectangle (x, y, width, height), which must lie wholly on the screen,
    // into target with its top-left pixel at (left, top). False, target untouched, when the
    // server refused the read (a large read goes in bands: a screen that shrinks in the
    // middle of one may leave the bands read before it in target).
    bool Read(int x, int y, int width, int height, Surface& target, int left, int top);

    // True once the server has taken the shared segment, made on the first read larger
    // than the magnifier's; reads that large travel over it from then on.
    bool SharingMemory() const { return shared_ == Sharing::Attached; }

private:
    enum class Sharing { Untried, Attached, Refused };

    bool ReadShared(int x, int y, int width, int height, Surface& target, int left, int top);
    bool ReadPlain(int x, int y, int width, int height, Surface& target, int left, int top);
    // A segment of at least size bytes attached on both sides, replacing a smaller one;
    // false (the old one kept) when none could be made.
    bool EnsureSegment(std::size_t size);
    void ReleaseSegment();

    X11Connection& connection_;
    Visual* visual_;
    int depth_;
    PixelColours colours_;
    Sharing shared_;
    XShmSegmentInfo segment_{};  // shmaddr null while there is none
    std::size_t segmentSize_ = 0;
};

}  // namespace pelmora
