// SPDX-License-Identifier: MIT
// libFuzzer target for the bitmap reader: whatever the bytes, DecodeBitmap gives a picture
// or a reason, without a crash, an out-of-bounds access or undefined behaviour (the build
// adds AddressSanitizer and UndefinedBehaviorSanitizer); and a picture that comes out is
// written and read back unchanged. Any broken promise aborts, which libFuzzer reports.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "capture/bitmap_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelmora;
    const DecodedBitmap decoded = DecodeBitmap(std::string_view(reinterpret_cast<const char*>(data), size));
    // Exactly one of picture and reason.
    if (decoded.picture.has_value() == !decoded.error.empty()) std::abort();
    if (!decoded.picture) return 0;

    const Surface& picture = *decoded.picture;
    if (picture.Width() < 1 || picture.Height() < 1 || picture.Width() > kMaxBitmapSide ||
        picture.Height() > kMaxBitmapSide)
        std::abort();
    const DecodedBitmap again = DecodeBitmap(EncodeBitmap(picture));
    if (!again.picture || again.picture->Width() != picture.Width() || again.picture->Height() != picture.Height())
        std::abort();
    for (int y = 0; y < picture.Height(); ++y)
        if (!std::equal(picture.Row(y), picture.Row(y) + picture.Width(), again.picture->Row(y))) std::abort();
    return 0;
}
