// SPDX-License-Identifier: MIT
#include "capture/bitmap_file.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "base/channel_scale.h"

namespace pelmora {
namespace {

using Byte = unsigned char;

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeaderBytes = 12;  // OS/2 1.x BITMAPCOREHEADER
constexpr std::uint32_t kInfoHeaderBytes = 40;  // BITMAPINFOHEADER
constexpr std::uint32_t kV5HeaderBytes = 124;   // BITMAPV5HEADER
// A V5 header's colour spaces that come with a profile: linked (a file name) or embedded.
constexpr std::uint32_t kProfileLinked = 0x4C494E4B;    // 'LINK'
constexpr std::uint32_t kProfileEmbedded = 0x4D424544;  // 'MBED'
constexpr std::uint32_t kPixelsPerMetreAt96Dpi = 3780;

// The compression field's values (biCompression).
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitFields = 3;
constexpr std::uint32_t kBiJpeg = 4;
constexpr std::uint32_t kBiPng = 5;
constexpr std::uint32_t kBiAlphaBitFields = 6;

// Why a file cannot be read, as the window tells the user and as pelmora-cli tells a script.
struct BitmapReason {
    const char* chinese;
    const char* english;
};
constexpr BitmapReason kEmptyFile{"文件是空的", "the file is empty"};
constexpr BitmapReason kNotBitmap{"不是位图文件", "not a bitmap file"};
constexpr BitmapReason kIncomplete{"文件不完整", "the file is cut short"};
constexpr BitmapReason kTooLarge{"图像太大", "the picture is too large"};
constexpr BitmapReason kBadDimensions{"图像的宽度或高度无效", "the width or height is invalid"};
constexpr BitmapReason kRleCompressed{"不支持压缩的位图（RLE）", "compressed bitmaps (RLE) are not supported"};
constexpr BitmapReason kEmbeddedImage{"不支持内含 JPEG 或 PNG 图像的位图",
                                      "bitmaps holding a JPEG or PNG image are not supported"};
constexpr BitmapReason kUnknownCompression{"不支持这种压缩方式的位图", "this kind of compression is not supported"};
constexpr BitmapReason kOs2Bitmap{"不支持 OS/2 2.x 格式的位图", "OS/2 2.x bitmaps are not supported"};
constexpr BitmapReason kUnknownHeader{"无法识别的位图信息头", "the information header is of an unknown kind"};
constexpr BitmapReason kBadPlanes{"位图的色彩平面数不是 1", "the number of colour planes is not 1"};
constexpr BitmapReason kBadBitCount{"不支持这种颜色位数的位图", "this number of bits per pixel is not supported"};
constexpr BitmapReason kBadMasks{"位图的颜色掩码无效", "the colour masks are invalid"};
constexpr BitmapReason kBadPixelOffset{"位图像素数据的位置无效", "the pixel data lies where it cannot be"};
constexpr BitmapReason kOutOfMemory{"内存不足，无法读取图像", "not enough memory to read the picture"};

// Little-endian fields, assembled byte by byte: the bytes have no alignment and the
// host's byte order does not matter.
std::uint32_t U16(const Byte* p) { return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8; }
std::uint32_t U32(const Byte* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}
std::int32_t S32(const Byte* p) { return static_cast<std::int32_t>(U32(p)); }

void Put16(Byte* p, std::uint32_t value) {
    p[0] = static_cast<Byte>(value);
    p[1] = static_cast<Byte>(value >> 8);
}
void Put32(Byte* p, std::uint32_t value) {
    Put16(p, value);
    Put16(p + 2, value >> 16);
}

// Bytes in one stored row, padded to a multiple of 4.
std::uint64_t PaddedRowBytes(std::uint64_t width, std::uint64_t bitCount) { return (width * bitCount + 31) / 32 * 4; }

// The colour value of blue, green and red bytes.
std::int32_t Bgr(Byte blue, Byte green, Byte red) {
    return static_cast<std::int32_t>(std::uint32_t{red} | std::uint32_t{green} << 8 | std::uint32_t{blue} << 16);
}

// A mask is usable when its bits are one run that lies within the pixel.
bool UsableMask(std::uint32_t mask, int bitCount) {
    if (bitCount < 32 && (mask >> bitCount) != 0) return false;
    if (mask == 0) return true;
    const std::uint32_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0;
}

// How the stored pixels of a row turn into colour values.
enum class PixelFormat { kIndexed, kMasked16, kMasked32, kBgr24, kBgrx32 };

struct Layout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitCount = 0;
    PixelFormat format = PixelFormat::kBgr24;
    // Colour table entries as colour values; entries the file does not give stay black.
    std::array<std::int32_t, 256> palette{};
    std::array<std::uint32_t, 3> masks{};  // red, green, blue
    // Where the headers, the masks and the colour entries that can be looked up end, which
    // a file's pixels may not start before; and where the whole colour table ends, which a
    // packed bitmap's pixels follow. Both count from the start of the bytes.
    std::uint64_t headersEnd = 0;
    std::uint64_t tableEnd = 0;
    std::uint64_t pixelOffset = 0;
    std::uint64_t rowBytes = 0;  // padded
};

template <int kBits>
void IndexedRow(const Byte* src, std::int32_t* dst, int width, const std::array<std::int32_t, 256>& palette) {
    constexpr int kPerByte = 8 / kBits;
    constexpr unsigned kIndexMask = (1u << kBits) - 1;
    for (int x = 0; x < width; ++x) {
        // The leftmost pixel sits in the byte's highest bits.
        const int shift = (kPerByte - 1 - x % kPerByte) * kBits;
        dst[x] = palette[(src[x / kPerByte] >> shift) & kIndexMask];
    }
}

template <int kBytes>
void MaskedRow(const Byte* src, std::int32_t* dst, int width, const std::array<ChannelScale, 3>& channels) {
    for (int x = 0; x < width; ++x, src += kBytes) {
        const std::uint32_t pixel = kBytes == 2 ? U16(src) : U32(src);
        dst[x] =
            static_cast<std::int32_t>(channels[0].Of(pixel) | channels[1].Of(pixel) << 8 | channels[2].Of(pixel) << 16);
    }
}

void Bgr24Row(const Byte* src, std::int32_t* dst, int width) {
    for (int x = 0; x < width; ++x, src += 3) dst[x] = Bgr(src[0], src[1], src[2]);
}

void Bgrx32Row(const Byte* src, std::int32_t* dst, int width) {
    for (int x = 0; x < width; ++x, src += 4) dst[x] = Bgr(src[0], src[1], src[2]);
}

// Reads the information header at infoAt in bytes, the masks and the colour table, checking
// every size against the length of bytes; returns the reason when they cannot be read. Sets
// every field of layout but the pixel offset and the row size.
const BitmapReason* ReadInfo(std::string_view bitmap, std::uint64_t infoAt, Layout& layout) {
    const auto* bytes = reinterpret_cast<const Byte*>(bitmap.data());
    const std::uint64_t length = bitmap.size();
    const Byte* info = bytes + infoAt;
    const std::uint32_t headerBytes = U32(info);
    const bool core = headerBytes == kCoreHeaderBytes;
    switch (headerBytes) {
        case kCoreHeaderBytes:
        case 40:
        case 52:
        case 56:
        case 108:
        case kV5HeaderBytes: break;
        case 16:
        case 64: return &kOs2Bitmap;
        default: return &kUnknownHeader;
    }
    if (length < infoAt + headerBytes) return &kIncomplete;

    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t coloursUsed = 0;
    if (core) {
        // The core header's width and height are unsigned 16-bit; rows are always bottom-up.
        width = U16(info + 4);
        height = U16(info + 6);
        planes = U16(info + 8);
        layout.bitCount = static_cast<int>(U16(info + 10));
    } else {
        width = S32(info + 4);
        height = S32(info + 8);
        planes = U16(info + 12);
        layout.bitCount = static_cast<int>(U16(info + 14));
        compression = U32(info + 16);
        coloursUsed = U32(info + 32);
    }

    if (planes != 1) return &kBadPlanes;
    switch (compression) {
        case kBiRgb:
        case kBiBitFields:
        case kBiAlphaBitFields: break;
        case kBiRle8:
        case kBiRle4: return &kRleCompressed;
        case kBiJpeg:
        case kBiPng: return &kEmbeddedImage;
        default: return &kUnknownCompression;
    }
    const int bitCount = layout.bitCount;
    const bool indexed = bitCount == 1 || bitCount == 4 || bitCount == 8;
    if (!indexed && bitCount != 16 && bitCount != 24 && bitCount != 32) return &kBadBitCount;
    if (core && bitCount != 24 && !indexed) return &kBadBitCount;
    const bool bitFields = compression != kBiRgb;
    if (bitFields && bitCount != 16 && bitCount != 32) return &kUnknownCompression;

    // Computed in 64 bits: the height may be INT32_MIN, whose negation does not fit.
    layout.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (width <= 0 || height == 0) return &kBadDimensions;
    if (width > kMaxBitmapSide || height > kMaxBitmapSide) return &kTooLarge;
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(height);

    std::uint64_t masksEnd = infoAt + headerBytes;
    if (bitFields) {
        // After a 40-byte header the masks follow it (three, or four with alpha); the
        // longer headers hold them inside.
        const Byte* masks = info + kInfoHeaderBytes;
        if (headerBytes == kInfoHeaderBytes) {
            masksEnd += compression == kBiAlphaBitFields ? 16 : 12;
            if (length < masksEnd) return &kIncomplete;
        }
        for (int c = 0; c < 3; ++c) {
            layout.masks[c] = U32(masks + std::ptrdiff_t{4} * c);
            if (!UsableMask(layout.masks[c], bitCount)) return &kBadMasks;
        }
        const bool plain32 = bitCount == 32 && layout.masks[0] == 0x00FF0000 && layout.masks[1] == 0x0000FF00 &&
                             layout.masks[2] == 0x000000FF;
        layout.format = plain32          ? PixelFormat::kBgrx32
                        : bitCount == 16 ? PixelFormat::kMasked16
                                         : PixelFormat::kMasked32;
    } else if (bitCount == 16) {
        layout.masks = {0x7C00, 0x03E0, 0x001F};  // x-5-5-5
        layout.format = PixelFormat::kMasked16;
    } else {
        layout.format = indexed ? PixelFormat::kIndexed : bitCount == 24 ? PixelFormat::kBgr24 : PixelFormat::kBgrx32;
    }

    // The colour table holds the number of colours used or, when that is 0, 2^bits entries
    // up to 8 bits and none above. Above 8 bits a table only helps palette displays and is
    // skipped unread. The core header's entries are 3 bytes, the others' 4.
    const std::uint64_t entryBytes = core ? 3 : 4;
    const std::uint64_t entries = coloursUsed != 0 ? coloursUsed : indexed ? std::uint64_t{1} << bitCount : 0;
    layout.tableEnd = masksEnd + entries * entryBytes;
    layout.headersEnd = masksEnd;
    if (indexed) {
        // Entries past 2^bits are never looked up.
        const std::uint64_t lookedUp = std::min(entries, std::uint64_t{1} << bitCount);
        const Byte* table = bytes + masksEnd;
        layout.headersEnd += lookedUp * entryBytes;
        if (length < layout.headersEnd) return &kIncomplete;
        for (std::uint64_t i = 0; i < lookedUp; ++i) {
            const Byte* entry = table + i * entryBytes;
            layout.palette[i] = Bgr(entry[0], entry[1], entry[2]);
        }
    }
    return nullptr;
}

// Checks that the rows, from layout.pixelOffset on, lie wholly inside length bytes (the last
// row's padding may be missing) and sets the row size.
const BitmapReason* CheckRows(std::uint64_t length, Layout& layout) {
    layout.rowBytes = PaddedRowBytes(layout.width, layout.bitCount);
    const std::uint64_t lastRowBytes = (std::uint64_t(layout.width) * layout.bitCount + 7) / 8;
    if (layout.pixelOffset > length ||
        length - layout.pixelOffset < layout.rowBytes * (layout.height - 1) + lastRowBytes)
        return &kIncomplete;
    return nullptr;
}

// Reads the layout of a file of length bytes from its first bytes, which hold at least its
// headers and colour table (or the whole file): the pixel data is where the file header
// says, after the headers and the colour entries that are looked up.
const BitmapReason* ReadFileLayout(std::string_view file, std::uint64_t length, Layout& layout) {
    const auto* bytes = reinterpret_cast<const Byte*>(file.data());
    if (file.empty()) return &kEmptyFile;
    if (bytes[0] != 'B' || (file.size() > 1 && bytes[1] != 'M')) return &kNotBitmap;
    if (file.size() < kFileHeaderBytes + 4) return &kIncomplete;
    if (const BitmapReason* reason = ReadInfo(file, kFileHeaderBytes, layout)) return reason;
    layout.pixelOffset = U32(bytes + 10);
    if (layout.pixelOffset < layout.headersEnd) return &kBadPixelOffset;
    return CheckRows(length, layout);
}

// The size of the colour profile that a V5 header says lies at offset (counted from the
// header's start); 0 when the header has no profile or puts it elsewhere.
std::uint64_t ProfileBytesAt(const Byte* info, std::uint64_t offset) {
    if (U32(info) != kV5HeaderBytes) return 0;
    const std::uint32_t colourSpace = U32(info + 56);
    if (colourSpace != kProfileLinked && colourSpace != kProfileEmbedded) return 0;
    return U32(info + 112) == offset ? U32(info + 116) : 0;
}

// Reads a packed bitmap's layout: the pixel data follows the colour table, or a profile
// placed straight after it.
const BitmapReason* ReadPackedLayout(std::string_view packed, Layout& layout) {
    const auto* bytes = reinterpret_cast<const Byte*>(packed.data());
    if (packed.empty()) return &kEmptyFile;
    if (packed.size() < 4) return &kIncomplete;
    if (const BitmapReason* reason = ReadInfo(packed, 0, layout)) return reason;
    layout.pixelOffset = layout.tableEnd + ProfileBytesAt(bytes, layout.tableEnd);
    return CheckRows(packed.size(), layout);
}

void ReadRows(const Byte* pixels, const Layout& layout, Surface& picture) {
    std::array<ChannelScale, 3> channels;
    if (layout.format == PixelFormat::kMasked16 || layout.format == PixelFormat::kMasked32)
        for (int c = 0; c < 3; ++c) channels[c] = ChannelScale(layout.masks[c]);
    const int width = layout.width;
    for (int stored = 0; stored < layout.height; ++stored) {
        const Byte* src = pixels + static_cast<std::uint64_t>(stored) * layout.rowBytes;
        std::int32_t* dst = picture.Row(layout.topDown ? stored : layout.height - 1 - stored);
        switch (layout.format) {
            case PixelFormat::kIndexed:
                if (layout.bitCount == 1) IndexedRow<1>(src, dst, width, layout.palette);
                else if (layout.bitCount == 4) IndexedRow<4>(src, dst, width, layout.palette);
                else IndexedRow<8>(src, dst, width, layout.palette);
                break;
            case PixelFormat::kMasked16: MaskedRow<2>(src, dst, width, channels); break;
            case PixelFormat::kMasked32: MaskedRow<4>(src, dst, width, channels); break;
            case PixelFormat::kBgr24: Bgr24Row(src, dst, width); break;
            case PixelFormat::kBgrx32: Bgrx32Row(src, dst, width); break;
        }
    }
}

// The information header and rows of picture, after `before` zero bytes left for a file
// header.
std::string EncodeAfter(const Surface& picture, std::size_t before) {
    const int width = picture.Width();
    const int height = picture.Height();
    const std::uint64_t rowBytes = PaddedRowBytes(width, 24);
    const std::uint64_t imageBytes = rowBytes * height;

    std::string bytes(before + kInfoHeaderBytes + imageBytes, '\0');
    Byte* info = reinterpret_cast<Byte*>(bytes.data()) + before;
    Put32(info, kInfoHeaderBytes);
    Put32(info + 4, static_cast<std::uint32_t>(width));
    Put32(info + 8, static_cast<std::uint32_t>(height));
    Put16(info + 12, 1);
    Put16(info + 14, 24);
    Put32(info + 16, kBiRgb);
    // A picture too big for the 32-bit size fields (over 4 GiB) keeps their low bits, which
    // readers ignore in favour of the width and height.
    Put32(info + 20, static_cast<std::uint32_t>(imageBytes));
    Put32(info + 24, kPixelsPerMetreAt96Dpi);
    Put32(info + 28, kPixelsPerMetreAt96Dpi);

    // The padding bytes are already zero.
    Byte* row = info + kInfoHeaderBytes;
    for (int y = height - 1; y >= 0; --y, row += rowBytes) {
        const std::int32_t* src = picture.Row(y);
        Byte* dst = row;
        for (int x = 0; x < width; ++x, dst += 3) {
            const auto colour = static_cast<std::uint32_t>(src[x]);
            dst[0] = static_cast<Byte>(colour >> 16);
            dst[1] = static_cast<Byte>(colour >> 8);
            dst[2] = static_cast<Byte>(colour);
        }
    }
    return bytes;
}

DecodedBitmap Refused(const BitmapReason& reason) { return {std::nullopt, reason.chinese, reason.english}; }

DecodedBitmap ReadPicture(std::string_view bytes, const Layout& layout, std::int64_t maxPixels) {
    if (std::int64_t{layout.width} * layout.height > maxPixels) return Refused(kTooLarge);
    try {
        DecodedBitmap decoded{Surface(layout.width, layout.height), {}, {}};
        ReadRows(reinterpret_cast<const Byte*>(bytes.data()) + layout.pixelOffset, layout, *decoded.picture);
        return decoded;
    } catch (const std::bad_alloc&) {
        return Refused(kOutOfMemory);
    }
}

}  // namespace

std::string EncodeBitmap(const Surface& picture) {
    std::string file = EncodeAfter(picture, kFileHeaderBytes);
    auto* out = reinterpret_cast<Byte*>(file.data());
    out[0] = 'B';
    out[1] = 'M';
    Put32(out + 2, static_cast<std::uint32_t>(file.size()));
    Put32(out + 10, static_cast<std::uint32_t>(kFileHeaderBytes + kInfoHeaderBytes));
    return file;
}

std::string EncodePackedBitmap(const Surface& picture) { return EncodeAfter(picture, 0); }

DecodedBitmap DecodeBitmap(std::string_view bytes, std::int64_t maxPixels) {
    Layout layout;
    if (const BitmapReason* reason = ReadFileLayout(bytes, bytes.size(), layout)) return Refused(*reason);
    return ReadPicture(bytes, layout, maxPixels);
}

BitmapExtent MeasureBitmapFile(std::string_view head, std::uint64_t fileSize, std::int64_t maxPixels) {
    Layout layout;
    if (const BitmapReason* reason = ReadFileLayout(head, fileSize, layout))
        return {0, reason->chinese, reason->english};
    // Pixels far behind the headers (a profile before them, or an offset that lies) count
    // against the same limit as the rows: at most 4 bytes a pixel and 1 MiB of the rest.
    const std::uint64_t extent =
        std::min(fileSize, layout.pixelOffset + layout.rowBytes * static_cast<std::uint64_t>(layout.height));
    if (std::int64_t{layout.width} * layout.height > maxPixels ||
        extent > static_cast<std::uint64_t>(maxPixels) * 4 + (std::uint64_t{1} << 20))
        return {0, kTooLarge.chinese, kTooLarge.english, true};
    return {extent, {}, {}, false};
}

DecodedBitmap DecodePackedBitmap(std::string_view bytes, std::int64_t maxPixels) {
    Layout layout;
    if (const BitmapReason* reason = ReadPackedLayout(bytes, layout)) return Refused(*reason);
    return ReadPicture(bytes, layout, maxPixels);
}

}  // namespace pelmora
