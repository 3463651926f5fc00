// SPDX-License-Identifier: MIT
// libFuzzer target for the packed bitmap reader (the clipboard's CF_DIB): whatever the bytes,
// DecodePackedBitmap gives a picture or a reason, without a crash, an out-of-bounds access or
// undefined behaviour (the build adds AddressSanitizer and UndefinedBehaviorSanitizer).
// A packed bitmap differs from a file only in having no file header to say where its pixels
// start, so this target works that start out by itself from the header fields, puts a file
// header naming it in front and reads the result as a file: DecodeBitmap must give the same
// picture, or refuse it for the same reason. A picture that comes out also reads the same
// with bytes added after the block (a clipboard rounds its memory up), and its own packed
// bitmap reads back unchanged. Any broken promise aborts, which libFuzzer reports.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "capture/bitmap_file.h"

namespace {

using pelmora::DecodedBitmap;
using pelmora::Surface;

// Where the pixels of a packed bitmap start, from the layout Windows documents: the header,
// BITFIELDS masks behind a BITMAPINFOHEADER (12 bytes, 16 with an alpha mask), the colour
// table (biClrUsed RGBQUADs, or 2^bits of them up to 8 bits; RGBTRIPLEs after a
// BITMAPCOREHEADER), and in a BITMAPV5HEADER a profile whose bV5ProfileData points right
// there. Fields past the end read as 0; anything unknown gives 0, which the reader refuses
// before it looks for the pixels.
std::uint64_t PixelStart(std::string_view dib) {
    const auto field = [dib](std::size_t at, std::size_t bytes) {
        std::uint64_t value = 0;
        if (at + bytes <= dib.size())
            for (std::size_t i = bytes; i-- > 0;) value = value << 8 | static_cast<unsigned char>(dib[at + i]);
        return value;
    };
    const std::uint64_t header = field(0, 4);
    if (header == 12) {
        const std::uint64_t bits = field(10, 2);
        return 12 + (bits <= 8 ? std::uint64_t{3} << bits : 0);
    }
    if (header != 40 && header != 52 && header != 56 && header != 108 && header != 124) return 0;
    const std::uint64_t bits = field(14, 2);
    const std::uint64_t compression = field(16, 4);
    const std::uint64_t used = field(32, 4);
    std::uint64_t start = header;
    if (header == 40 && compression == 3) start += 12;  // BI_BITFIELDS
    if (header == 40 && compression == 6) start += 16;  // BI_ALPHABITFIELDS
    start += 4 * (used != 0 ? used : bits <= 8 ? std::uint64_t{1} << bits : 0);
    const std::uint64_t colourSpace = field(56, 4);
    const bool hasProfile = colourSpace == 0x4C494E4B || colourSpace == 0x4D424544;  // 'LINK', 'MBED'
    if (header == 124 && hasProfile && field(112, 4) == start) start += field(116, 4);
    return start;
}

// The bitmap file whose bytes after the file header are dib, with pixelOffset in its header.
std::string AsFile(std::string_view dib, std::uint64_t pixelOffset) {
    std::string file = "BM";
    const auto put32 = [&file](std::uint64_t value) {
        const auto clamped = static_cast<std::uint32_t>(std::min<std::uint64_t>(value, 0xFFFFFFFF));
        for (int i = 0; i < 4; ++i) file += static_cast<char>(clamped >> (8 * i));
    };
    put32(14 + dib.size());
    put32(0);
    put32(pixelOffset);
    file.append(dib);
    return file;
}

bool SamePicture(const Surface& a, const Surface& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        if (!std::equal(a.Row(y), a.Row(y) + a.Width(), b.Row(y))) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view dib(reinterpret_cast<const char*>(data), size);
    const DecodedBitmap decoded = pelmora::DecodePackedBitmap(dib);
    // Exactly one of picture and reason.
    if (decoded.picture.has_value() == !decoded.error.empty()) std::abort();

    // Read as a file with the pixel offset worked out here; an empty block is the one whose
    // reason differs (an empty file, against a file of only a header).
    const DecodedBitmap asFile = pelmora::DecodeBitmap(AsFile(dib, 14 + PixelStart(dib)));
    if (decoded.picture.has_value() != asFile.picture.has_value()) std::abort();
    if (!decoded.picture) {
        if (size > 0 && decoded.error != asFile.error) std::abort();
        return 0;
    }
    const Surface& picture = *decoded.picture;
    if (!SamePicture(picture, *asFile.picture)) std::abort();

    const DecodedBitmap padded = pelmora::DecodePackedBitmap(std::string(dib) + std::string(16, '\xFF'));
    if (!padded.picture || !SamePicture(picture, *padded.picture)) std::abort();

    const DecodedBitmap again = pelmora::DecodePackedBitmap(pelmora::EncodePackedBitmap(picture));
    if (!again.picture || !SamePicture(picture, *again.picture)) std::abort();
    return 0;
}
