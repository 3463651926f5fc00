// SPDX-License-Identifier: MIT
#include "backends/x11/x11_screen_reader.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/mman.h>
#include <sys/shm.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

namespace pelmora {

namespace {
// Rectangles of up to this many pixels (64 x 64: the magnifier's 11 x 11, the cursor's
// 32 x 32, single pixels) travel in XGetImage's reply even where memory is shared. Measured
// under Xvfb, both ways take one round trip and the same time up to 128 x 128 (about
// 0.04 ms), so these reads need no segment; from about 180 x 180 XGetImage's buffer comes
// from fresh pages on every call and costs many times more (1280 x 1024: 36 ms against
// 0.7 ms shared).
constexpr long kLargestPlainArea = 64L * 64;

// Larger rectangles travel through the shared segment in bands of whole rows of at most
// this many bytes, one after another. A fresh segment costs a first touch of each of its
// pages on both sides, which a short-lived process such as pelmora-cli pays on its one
// read. Measured under Xvfb, a 1920 x 1080 screen read in one piece took 14 ms the first
// time (an 8 MB segment) and 3 to 5 ms after; in 1 MB bands (8 round trips) it takes 2
// to 3 ms the first time and 1 to 1.5 ms after, a band staying in the cache between the
// server's copy and the conversion. Half or twice the band size measured slower.
constexpr std::size_t kBandBytes = std::size_t{1} << 20;

struct ImageDeleter {
    // A shared-memory image's destroy function frees the header only, not the segment.
    void operator()(XImage* image) const { XDestroyImage(image); }
};
using ImagePtr = std::unique_ptr<XImage, ImageDeleter>;

// The image's 32-bit pixels, words in the machine's byte order, each turned into a colour
// value by convert.
template <typename Convert>
void CopyWords(const XImage& image, Surface& target, int left, int top, const Convert& convert) {
    const int width = image.width;
    for (int y = 0; y < image.height; ++y) {
        const char* from = image.data + static_cast<std::ptrdiff_t>(y) * image.bytes_per_line;
        std::int32_t* to = target.Row(top + y) + left;
        for (int x = 0; x < width; ++x) {
            std::uint32_t word;
            std::memcpy(&word, from + 4 * static_cast<std::ptrdiff_t>(x), sizeof word);
            to[x] = convert(word);
        }
    }
}

// The pixel value of bytes whole bytes at from, in the image's byte order.
std::uint32_t ReadPixelBytes(const unsigned char* from, int bytes, bool mostSignificantFirst) {
    std::uint32_t value = 0;
    if (mostSignificantFirst) {
        for (int i = 0; i < bytes; ++i) value = value << 8 | from[i];
    } else {
        for (int i = bytes - 1; i >= 0; --i) value = value << 8 | from[i];
    }
    return value;
}
}  // namespace

PixelColours::PixelColours(const PixelMasks& masks)
    : masks_(masks),
      red_(static_cast<std::uint32_t>(masks.red)),
      green_(static_cast<std::uint32_t>(masks.green)),
      blue_(static_cast<std::uint32_t>(masks.blue)) {}

void CopyImageInto(XImage& image, const PixelColours& colours, Surface& target, int left, int top) {
    const int width = image.width;
    const int bitsPerPixel = image.bits_per_pixel;
    const bool mostSignificantFirst = image.byte_order == MSBFirst;
    const bool nativeOrder = mostSignificantFirst == (std::endian::native == std::endian::big);
    if (bitsPerPixel == 32 && nativeOrder) {
        // The visual of nearly every desktop, 0x00RRGGBB, turned into 0x00BBGGRR by swapping
        // red and blue; other 32-bit visuals (10 bits a channel at depth 30) through the tables.
        if (colours.Masks() == PixelMasks{0xFF0000, 0xFF00, 0xFF})
            CopyWords(image, target, left, top, [](std::uint32_t word) {
                return static_cast<std::int32_t>((word >> 16 & 0xFF) | (word & 0xFF00) | (word & 0xFF) << 16);
            });
        else CopyWords(image, target, left, top, colours);
        return;
    }
    if (bitsPerPixel % 8 == 0 && bitsPerPixel >= 8 && bitsPerPixel <= 32) {
        // Whole bytes per pixel (16-bit and packed 24-bit visuals, or the other byte order).
        const int bytes = bitsPerPixel / 8;
        for (int y = 0; y < image.height; ++y) {
            const auto* from = reinterpret_cast<const unsigned char*>(image.data) +
                               static_cast<std::ptrdiff_t>(y) * image.bytes_per_line;
            std::int32_t* to = target.Row(top + y) + left;
            for (int x = 0; x < width; ++x, from += bytes)
                to[x] = colours(ReadPixelBytes(from, bytes, mostSignificantFirst));
        }
        return;
    }
    // Pixels that share bytes (4-bit and other rare layouts): Xlib unpacks them.
    for (int y = 0; y < image.height; ++y) {
        std::int32_t* to = target.Row(top + y) + left;
        for (int x = 0; x < width; ++x) to[x] = colours(static_cast<std::uint32_t>(XGetPixel(&image, x, y)));
    }
}

X11ScreenReader::X11ScreenReader(X11Connection& connection, Transport transport)
    : connection_(connection),
      visual_(DefaultVisual(connection.display(), DefaultScreen(connection.display()))),
      depth_(DefaultDepth(connection.display(), DefaultScreen(connection.display()))),
      colours_(PixelMasks{visual_->red_mask, visual_->green_mask, visual_->blue_mask}),
      shared_(transport == Transport::Plain ? Sharing::Refused : Sharing::Untried) {}

X11ScreenReader::~X11ScreenReader() { ReleaseSegment(); }

bool X11ScreenReader::Read(int x, int y, int width, int height, Surface& target, int left, int top) {
    if (!connection_.Alive() || width <= 0 || height <= 0) return false;
    if (static_cast<long>(width) * height > kLargestPlainArea) {
        if (shared_ == Sharing::Untried && !XShmQueryExtension(connection_.display())) shared_ = Sharing::Refused;
        if (shared_ != Sharing::Refused && ReadShared(x, y, width, height, target, left, top)) return true;
    }
    return ReadPlain(x, y, width, height, target, left, top);
}

bool X11ScreenReader::ReadShared(int x, int y, int width, int height, Surface& target, int left, int top) {
    Display* display = connection_.display();
    // The header alone (no request): it gives the row length the server will write with.
    ImagePtr image(XShmCreateImage(display, visual_, static_cast<unsigned>(depth_), ZPixmap, nullptr, &segment_,
                                   static_cast<unsigned>(width), static_cast<unsigned>(height)));
    if (!image) return false;
    const auto rowBytes = static_cast<std::size_t>(image->bytes_per_line);
    const int bandRows =
        static_cast<int>(std::clamp<std::size_t>(kBandBytes / rowBytes, 1, static_cast<std::size_t>(height)));
    if (!EnsureSegment(rowBytes * static_cast<std::size_t>(bandRows))) return false;
    image->data = segment_.shmaddr;
    // A refused read (the screen shrank meanwhile) comes back as an error before the reply.
    X11ErrorTrap trap(display);
    const auto readBand = [&](int row) {
        image->height = std::min(bandRows, height - row);
        if (!XShmGetImage(display, connection_.root(), image.get(), x, y + row, AllPlanes)) return false;
        CopyImageInto(*image, colours_, target, left, top + row);
        return true;
    };
    // The bottom band first: once it has been read, the whole rectangle lay on the screen,
    // so a rectangle reaching past the screen's edge leaves target untouched.
    const int lastBand = (height - 1) / bandRows * bandRows;
    if (!readBand(lastBand)) return false;
    for (int row = 0; row < lastBand; row += bandRows)
        if (!readBand(row)) return false;
    return true;
}

bool X11ScreenReader::ReadPlain(int x, int y, int width, int height, Surface& target, int left, int top) {
    X11ErrorTrap trap(connection_.display());
    ImagePtr image(XGetImage(connection_.display(), connection_.root(), x, y, static_cast<unsigned>(width),
                             static_cast<unsigned>(height), AllPlanes, ZPixmap));
    if (!image) return false;
    CopyImageInto(*image, colours_, target, left, top);
    return true;
}

bool X11ScreenReader::EnsureSegment(std::size_t size) {
    if (segment_.shmaddr && segmentSize_ >= size) return true;
    // Made for a whole band, so that a later, larger read finds it ready: a new segment
    // costs a round trip and a first touch of every page on both sides.
    size = std::max(size, kBandBytes);
    XShmSegmentInfo fresh{};
    fresh.shmid = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
    if (fresh.shmid < 0) return false;  // over the system's limits: this read goes plain
    void* address = shmat(fresh.shmid, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) {
        shmctl(fresh.shmid, IPC_RMID, nullptr);
        return false;
    }
#ifdef MADV_POPULATE_WRITE
    // This side's pages mapped in one call instead of one fault each during the first
    // conversion (a first 1920 x 1080 read under Xvfb: 40 ms instead of 53); kernels
    // before 5.14 refuse, harmlessly.
    madvise(address, size, MADV_POPULATE_WRITE);
#endif
    fresh.shmaddr = static_cast<char*>(address);
    fresh.readOnly = False;
    bool attached = false;
    {
        // The server attaches the segment itself: a server on another machine cannot
        // (BadAccess), nor can one that sees another set of segments.
        X11ErrorTrap trap(connection_.display());
        attached = XShmAttach(connection_.display(), &fresh) && !trap.Failed();
    }
    // Both sides are attached now (Failed() waited for the server): marked for removal, the
    // segment vanishes with the last detach, even when this process dies without one.
    shmctl(fresh.shmid, IPC_RMID, nullptr);
    if (!attached) {
        shmdt(fresh.shmaddr);
        // A server that never took a segment never will; one that took a smaller one (the
        // screen has grown since) keeps it for the reads that fit.
        if (!segment_.shmaddr) shared_ = Sharing::Refused;
        return false;
    }
    ReleaseSegment();
    segment_ = fresh;
    segmentSize_ = size;
    shared_ = Sharing::Attached;
    return true;
}

void X11ScreenReader::ReleaseSegment() {
    if (!segment_.shmaddr) return;
    if (connection_.Alive()) {
        X11ErrorTrap trap(connection_.display());
        XShmDetach(connection_.display(), &segment_);
        // Waits for the detach, so that any error it raised lands in this trap.
        trap.Failed();
    }
    shmdt(segment_.shmaddr);
    segment_ = {};
    segmentSize_ = 0;
}

}  // namespace pelmora
