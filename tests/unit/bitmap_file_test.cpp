// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "capture/bitmap_file.h"

using namespace pelmora;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Append16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}
void Append32(std::string& out, std::uint32_t value) {
    Append16(out, value & 0xFFFF);
    Append16(out, value >> 16);
}
std::string WithField32(std::string file, std::size_t at, std::uint32_t value) {
    std::string field;
    Append32(field, value);
    return file.replace(at, 4, field);
}
std::uint32_t Field32(const std::string& file, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(file[at + i]);
    return value;
}

// A bitmap file put together field by field, so that each test shows what its file holds.
struct BitmapBuilder {
    std::uint32_t headerBytes = 40;  // 12 (OS/2 core), 40, 52, 56, 108 or 124
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint32_t planes = 1;
    std::uint32_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    // Red, green, blue (and alpha) masks: inside a header of 52 bytes or more, after a
    // 40-byte one.
    std::vector<std::uint32_t> masks{};
    // Colour table entries as colour values 0x00BBGGRR; 3 bytes each after a core header.
    std::vector<std::int32_t> table{};
    // Stored rows in file order, each padded with zeros to a multiple of 4 bytes.
    std::vector<Bytes> rows{};
    std::optional<std::uint32_t> pixelOffset{};  // right after the table when not set
    std::uint32_t fileSizeField = 0;             // readers must not trust it

    std::string Build() const {
        std::string info;
        Append32(info, headerBytes);
        if (headerBytes == 12) {
            Append16(info, static_cast<std::uint32_t>(width));
            Append16(info, static_cast<std::uint32_t>(height));
            Append16(info, planes);
            Append16(info, bitCount);
        } else {
            Append32(info, static_cast<std::uint32_t>(width));
            Append32(info, static_cast<std::uint32_t>(height));
            Append16(info, planes);
            Append16(info, bitCount);
            Append32(info, compression);
            Append32(info, 0);
            Append32(info, 2835);
            Append32(info, 2835);
            Append32(info, coloursUsed);
            Append32(info, 0);
            if (headerBytes > 40)
                for (std::uint32_t m : masks) Append32(info, m);
            info.resize(headerBytes, '\0');
            if (headerBytes == 40)
                for (std::uint32_t m : masks) Append32(info, m);
        }
        for (std::int32_t colour : table) {
            info += static_cast<char>(colour >> 16 & 0xFF);
            info += static_cast<char>(colour >> 8 & 0xFF);
            info += static_cast<char>(colour & 0xFF);
            if (headerBytes != 12) info += '\0';
        }
        std::string pixels;
        for (const Bytes& row : rows) {
            pixels.append(row.begin(), row.end());
            pixels.resize((pixels.size() + 3) / 4 * 4, '\0');
        }
        const std::uint32_t offset = pixelOffset.value_or(static_cast<std::uint32_t>(14 + info.size()));
        std::string file = "BM";
        Append32(file, fileSizeField);
        Append32(file, 0);
        Append32(file, offset);
        file += info;
        file.resize(std::max<std::size_t>(file.size(), offset), '\0');
        return file + pixels;
    }
};

// value * 255 / largest, rounded: a channel of the given bits scaled to 0..255.
std::int32_t Scaled(std::uint32_t value, int bits) {
    return static_cast<std::int32_t>(std::lround(value * 255.0 / ((1u << bits) - 1)));
}
std::int32_t Colour(std::int32_t red, std::int32_t green, std::int32_t blue) { return red | green << 8 | blue << 16; }

// The picture's rows from the top, for comparing whole pictures at once.
std::vector<std::vector<std::int32_t>> Rows(const Surface& picture) {
    std::vector<std::vector<std::int32_t>> rows;
    rows.reserve(static_cast<std::size_t>(picture.Height()));
    for (int y = 0; y < picture.Height(); ++y) rows.emplace_back(picture.Row(y), picture.Row(y) + picture.Width());
    return rows;
}

std::vector<std::vector<std::int32_t>> Read(const std::string& file) {
    const DecodedBitmap decoded = DecodeBitmap(file);
    EXPECT_TRUE(decoded.picture) << decoded.error;
    EXPECT_EQ(decoded.error, "");
    return decoded.picture ? Rows(*decoded.picture) : std::vector<std::vector<std::int32_t>>{};
}

// A picture whose every pixel differs from its neighbours in all three channels.
Surface Varied(int width, int height) {
    Surface picture(width, height);
    std::uint32_t state = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            picture.SetPixel(x, y, static_cast<std::int32_t>(state >> 8));
        }
    return picture;
}

}  // namespace

TEST(BitmapEncode, OnePixelFileIsHeadersAndOnePaddedRow) {
    const std::string file = EncodeBitmap(Surface(1, 1, 0x00332211));
    const Bytes expected = {
        'B',  'M',  58,   0, 0,    0,    0, 0, 0,    0,    54, 0, 0, 0,  // file header
        40,   0,    0,    0, 1,    0,    0, 0, 1,    0,    0,  0, 1, 0,
        24,   0,    0,    0, 0,    0,  // size, 1 x 1, planes, bits, BI_RGB
        4,    0,    0,    0, 0xC4, 0x0E, 0, 0, 0xC4, 0x0E, 0,  0, 0, 0,
        0,    0,    0,    0, 0,    0,  // image bytes, 3780 dpm, colours
        0x33, 0x22, 0x11, 0,           // blue, green, red, padding
    };
    EXPECT_EQ(Bytes(file.begin(), file.end()), expected);
}

TEST(BitmapEncode, RoundTripKeepsEveryPixelAcrossRowPaddings) {
    for (int width : {1, 3, 5, 4097})
        for (int height : {1, 2, 7}) {
            SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
            const Surface picture = Varied(width, height);
            const std::string file = EncodeBitmap(picture);
            const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
            ASSERT_EQ(file.size(), 54 + rowBytes * height);
            EXPECT_EQ(Field32(file, 2), file.size());
            EXPECT_EQ(Field32(file, 34), rowBytes * height);
            // The first stored row is the bottom one; its padding is zero.
            const std::int32_t bottomLeft = picture.Pixel(0, height - 1);
            EXPECT_EQ(static_cast<std::uint8_t>(file[54]), bottomLeft >> 16 & 0xFF);
            EXPECT_EQ(static_cast<std::uint8_t>(file[56]), bottomLeft & 0xFF);
            for (std::size_t i = static_cast<std::size_t>(width) * 3; i < rowBytes; ++i) EXPECT_EQ(file[54 + i], '\0');
            EXPECT_EQ(Read(file), Rows(picture));
        }
}

TEST(BitmapEncode, TopByteOfAColourValueIsDropped) {
    Surface picture(2, 1);
    picture.SetPixel(0, 0, -1);
    picture.SetPixel(1, 0, static_cast<std::int32_t>(0x7F102030));
    EXPECT_EQ(Read(EncodeBitmap(picture)), (std::vector<std::vector<std::int32_t>>{{0xFFFFFF, 0x102030}}));
}

TEST(BitmapDecode, IndexedPixelsLookUpTheColourTable) {
    const std::int32_t red = Colour(255, 0, 0), green = Colour(0, 200, 0), blue = Colour(0, 0, 150);

    // 1 bit, a row of 10 crossing a byte, leftmost pixel in the highest bit; bottom row first.
    BitmapBuilder one{.width = 10, .height = 2, .bitCount = 1, .table = {red, green}};
    one.rows = {{0b10000000, 0b01000000}, {0b01010101, 0b10000000}};
    EXPECT_EQ(Read(one.Build()),
              (std::vector<std::vector<std::int32_t>>{{red, green, red, green, red, green, red, green, green, red},
                                                      {green, red, red, red, red, red, red, red, red, green}}));

    // 4 bits: high nibble first; an odd width leaves half a byte unused.
    BitmapBuilder four{.width = 3, .bitCount = 4, .table = std::vector<std::int32_t>(16, 0)};
    four.table[2] = red;
    four.table[15] = blue;
    four.rows = {{0x2F, 0x20}};
    EXPECT_EQ(Read(four.Build()), (std::vector<std::vector<std::int32_t>>{{red, blue, red}}));

    // 8 bits with a full table of 256.
    BitmapBuilder eight{.width = 3, .bitCount = 8, .table = std::vector<std::int32_t>(256, 0)};
    eight.table[0] = green;
    eight.table[255] = blue;
    eight.table[128] = red;
    eight.rows = {{255, 0, 128}};
    EXPECT_EQ(Read(eight.Build()), (std::vector<std::vector<std::int32_t>>{{blue, green, red}}));
}

TEST(BitmapDecode, ShortColourTableFromColoursUsedAndIndexesPastItReadAsBlack) {
    const std::int32_t grey = Colour(90, 90, 90), yellow = Colour(250, 240, 0);
    // The table holds 2 entries and the pixels start right after them.
    BitmapBuilder eight{.width = 4, .bitCount = 8, .coloursUsed = 2, .table = {grey, yellow}};
    eight.rows = {{1, 0, 2, 255}};
    EXPECT_EQ(Read(eight.Build()), (std::vector<std::vector<std::int32_t>>{{yellow, grey, 0, 0}}));

    BitmapBuilder four{.width = 2, .bitCount = 4, .coloursUsed = 3, .table = {grey, yellow, grey}};
    four.rows = {{0x1E}};
    EXPECT_EQ(Read(four.Build()), (std::vector<std::vector<std::int32_t>>{{yellow, 0}}));

    // More colours used than the bits can index: the pixels follow all of them, but only
    // the first 2^bits can be looked up.
    BitmapBuilder many{.width = 2, .bitCount = 8, .coloursUsed = 300, .table = std::vector<std::int32_t>(300, grey)};
    many.table[255] = yellow;
    many.rows = {{255, 0}};
    EXPECT_EQ(Read(many.Build()), (std::vector<std::vector<std::int32_t>>{{yellow, grey}}));
}

TEST(BitmapDecode, SixteenBitChannelsScaleToTheFullRange) {
    // BI_RGB: x-5-5-5, the top bit ignored.
    BitmapBuilder rgb555{.width = 4, .bitCount = 16};
    rgb555.rows = {{0xFF, 0xFF, 0x00, 0xFC, 0x01, 0x00, 0x10, 0x02}};  // 0xFFFF, 0xFC00, 1, 0x0210
    EXPECT_EQ(
        Read(rgb555.Build()),
        (std::vector<std::vector<std::int32_t>>{{Colour(255, 255, 255), Colour(255, 0, 0), Colour(0, 0, Scaled(1, 5)),
                                                 Colour(0, Scaled(16, 5), Scaled(16, 5))}}));

    // BI_BITFIELDS 5-6-5, masks after the 40-byte header.
    BitmapBuilder rgb565{.width = 3, .bitCount = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}};
    rgb565.rows = {{0x00, 0x04, 0xFF, 0xFF, 0x0F, 0x88}};  // green 32; white; red 17, blue 15
    EXPECT_EQ(Read(rgb565.Build()),
              (std::vector<std::vector<std::int32_t>>{
                  {Colour(0, Scaled(32, 6), 0), Colour(255, 255, 255), Colour(Scaled(17, 5), 0, Scaled(15, 5))}}));

    // 4-4-4 with an alpha nibble (BI_ALPHABITFIELDS, four masks after the header): alpha ignored.
    BitmapBuilder argb4444{.width = 1, .bitCount = 16, .compression = 6, .masks = {0x0F00, 0x00F0, 0x000F, 0xF000}};
    argb4444.rows = {{0x5A, 0x73}};
    EXPECT_EQ(Read(argb4444.Build()),
              (std::vector<std::vector<std::int32_t>>{{Colour(Scaled(3, 4), Scaled(5, 4), Scaled(10, 4))}}));
}

TEST(BitmapDecode, ThirtyTwoBitPixelsIgnoreTheFourthByte) {
    BitmapBuilder bgrx{.width = 2, .bitCount = 32};
    bgrx.rows = {{0x01, 0x02, 0x03, 0xFF, 0xFA, 0xFB, 0xFC, 0x00}};
    EXPECT_EQ(Read(bgrx.Build()), (std::vector<std::vector<std::int32_t>>{{0x010203, 0xFAFBFC}}));

    // Masks in the usual places read like BI_RGB; other orders and widths are honoured.
    BitmapBuilder usual{.width = 1, .bitCount = 32, .compression = 3, .masks = {0xFF0000, 0xFF00, 0xFF}};
    usual.rows = {{0x10, 0x20, 0x30, 0x40}};
    EXPECT_EQ(Read(usual.Build()), (std::vector<std::vector<std::int32_t>>{{0x102030}}));

    BitmapBuilder rgba{.width = 1, .bitCount = 32, .compression = 3, .masks = {0xFF, 0xFF00, 0xFF0000}};
    rgba.rows = {{0x10, 0x20, 0x30, 0x40}};
    EXPECT_EQ(Read(rgba.Build()), (std::vector<std::vector<std::int32_t>>{{0x302010}}));

    // 10-10-10-2: red 1023, green 512, blue 1.
    BitmapBuilder deep{.width = 1, .bitCount = 32, .compression = 3, .masks = {0x3FF00000, 0x000FFC00, 0x000003FF}};
    const std::uint32_t pixel = 1023u << 20 | 512u << 10 | 1u | 3u << 30;
    deep.rows = {{static_cast<std::uint8_t>(pixel), static_cast<std::uint8_t>(pixel >> 8),
                  static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 24)}};
    EXPECT_EQ(Read(deep.Build()),
              (std::vector<std::vector<std::int32_t>>{{Colour(255, Scaled(512, 10), Scaled(1, 10))}}));

    // A mask of all 32 bits for one channel and none for another.
    BitmapBuilder wide{.width = 1, .bitCount = 32, .compression = 3, .masks = {0xFFFFFFFF, 0, 0x80000000}};
    wide.rows = {{0x00, 0x00, 0x00, 0x80}};
    EXPECT_EQ(Read(wide.Build()), (std::vector<std::vector<std::int32_t>>{{Colour(128, 0, 255)}}));
}

TEST(BitmapDecode, RowOrderFollowsTheHeightsSign) {
    const std::vector<Bytes> stored = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    BitmapBuilder bottomUp{.width = 1, .height = 3, .rows = stored};
    EXPECT_EQ(Read(bottomUp.Build()), (std::vector<std::vector<std::int32_t>>{{0x070809}, {0x040506}, {0x010203}}));
    BitmapBuilder topDown{.width = 1, .height = -3, .rows = stored};
    EXPECT_EQ(Read(topDown.Build()), (std::vector<std::vector<std::int32_t>>{{0x010203}, {0x040506}, {0x070809}}));
    // Top-down with indices and masks too.
    BitmapBuilder indexed{.width = 1, .height = -2, .bitCount = 8, .coloursUsed = 2, .table = {0x111111, 0x222222}};
    indexed.rows = {{1}, {0}};
    EXPECT_EQ(Read(indexed.Build()), (std::vector<std::vector<std::int32_t>>{{0x222222}, {0x111111}}));
}

TEST(BitmapDecode, LongerInfoHeadersHoldTheirMasks) {
    for (std::uint32_t header : {52u, 56u, 108u, 124u}) {
        SCOPED_TRACE(header);
        BitmapBuilder masked{
            .headerBytes = header, .width = 2, .bitCount = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}};
        masked.rows = {{0x1F, 0x00, 0x00, 0xF8}};
        EXPECT_EQ(Read(masked.Build()),
                  (std::vector<std::vector<std::int32_t>>{{Colour(0, 0, 255), Colour(255, 0, 0)}}));
        // Without BI_BITFIELDS the masks in the header do not apply: 16 bits are 5-5-5.
        masked.compression = 0;
        EXPECT_EQ(Read(masked.Build()),
                  (std::vector<std::vector<std::int32_t>>{{Colour(0, 0, 255), Colour(Scaled(30, 5), 0, 0)}}));
        BitmapBuilder plain{.headerBytes = header, .width = 1, .height = -1, .rows = {{0xAB, 0xCD, 0xEF}}};
        EXPECT_EQ(Read(plain.Build()), (std::vector<std::vector<std::int32_t>>{{0xABCDEF}}));
    }
}

TEST(BitmapDecode, OS2CoreHeaderWithThreeByteTable) {
    BitmapBuilder indexed{.headerBytes = 12, .width = 2, .bitCount = 1, .table = {0x0000FF, 0xFF0000}};
    indexed.rows = {{0b10000000}};
    EXPECT_EQ(Read(indexed.Build()), (std::vector<std::vector<std::int32_t>>{{0xFF0000, 0x0000FF}}));
    BitmapBuilder direct{.headerBytes = 12, .width = 1, .height = 2, .rows = {{1, 2, 3}, {4, 5, 6}}};
    EXPECT_EQ(Read(direct.Build()), (std::vector<std::vector<std::int32_t>>{{0x040506}, {0x010203}}));
}

TEST(BitmapDecode, TrustsTheBytesOverTheSizeFieldsAndOffset) {
    // A wrong file-size field, a gap before the pixels and a missing final padding all read.
    BitmapBuilder file{
        .width = 1, .height = 2, .rows = {{1, 2, 3}, {4, 5, 6}}, .pixelOffset = 70, .fileSizeField = 0xFFFFFFFF};
    std::string bytes = file.Build();
    EXPECT_EQ(Read(bytes), (std::vector<std::vector<std::int32_t>>{{0x040506}, {0x010203}}));
    bytes.pop_back();
    EXPECT_EQ(Read(bytes), (std::vector<std::vector<std::int32_t>>{{0x040506}, {0x010203}}));
    // The largest side that is read.
    BitmapBuilder wide{.width = kMaxBitmapSide,
                       .bitCount = 8,
                       .coloursUsed = 1,
                       .table = {0x123456},
                       .rows = {Bytes(kMaxBitmapSide, 0)}};
    const DecodedBitmap decoded = DecodeBitmap(wide.Build());
    ASSERT_TRUE(decoded.picture) << decoded.error;
    EXPECT_EQ(decoded.picture->Width(), kMaxBitmapSide);
    EXPECT_EQ(decoded.picture->Pixel(kMaxBitmapSide - 1, 0), 0x123456);
}

TEST(BitmapDecode, HostileAndUnsupportedFilesAreRefusedWithTheReason) {
    const std::string incomplete = "文件不完整";
    const std::string badSize = "图像的宽度或高度无效";
    const std::string tooLarge = "图像太大";
    const std::string badOffset = "位图像素数据的位置无效";
    const std::string badMasks = "位图的颜色掩码无效";
    const std::string compression = "不支持这种压缩方式的位图";
    const std::string bitCount = "不支持这种颜色位数的位图";
    const BitmapBuilder good{.width = 2, .height = 2, .rows = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}}};
    const auto with = [&](auto change) {
        BitmapBuilder b = good;
        change(b);
        return b.Build();
    };
    const std::string goodFile = good.Build();
    const std::string pixelless = goodFile.substr(0, 54);  // headers and nothing after

    struct Case {
        const char* what;
        std::string file;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"empty", "", "文件是空的"},
        {"other format", "\x89PNG\r\n\x1a\n", "不是位图文件"},
        {"one wrong byte", "X", "不是位图文件"},
        {"one byte", "B", incomplete},
        {"file header only", goodFile.substr(0, 14), incomplete},
        {"header cut short", goodFile.substr(0, 40), incomplete},
        {"unknown header size", with([](BitmapBuilder& b) { b.headerBytes = 20; }), "无法识别的位图信息头"},
        {"huge header size", goodFile.substr(0, 14) + "\xFF\xFF\xFF\xFF" + goodFile.substr(18), "无法识别的位图信息头"},
        {"OS/2 2.x header", with([](BitmapBuilder& b) { b.headerBytes = 64; }), "不支持 OS/2 2.x 格式的位图"},
        {"two planes", with([](BitmapBuilder& b) { b.planes = 2; }), "位图的色彩平面数不是 1"},
        {"RLE8", with([](BitmapBuilder& b) { b.bitCount = 8, b.compression = 1; }), "不支持压缩的位图（RLE）"},
        {"RLE4", with([](BitmapBuilder& b) { b.bitCount = 4, b.compression = 2; }), "不支持压缩的位图（RLE）"},
        {"JPEG", with([](BitmapBuilder& b) { b.bitCount = 0, b.compression = 4; }),
         "不支持内含 JPEG 或 PNG 图像的位图"},
        {"PNG", with([](BitmapBuilder& b) { b.bitCount = 0, b.compression = 5; }), "不支持内含 JPEG 或 PNG 图像的位图"},
        {"CMYK", with([](BitmapBuilder& b) { b.compression = 11; }), compression},
        {"bit fields at 24 bits", with([](BitmapBuilder& b) {
             b.compression = 3, b.masks = {0xFF, 0xFF00, 0xFF0000};
         }),
         compression},
        {"0 bits", with([](BitmapBuilder& b) { b.bitCount = 0; }), bitCount},
        {"2 bits", with([](BitmapBuilder& b) { b.bitCount = 2; }), bitCount},
        {"48 bits", with([](BitmapBuilder& b) { b.bitCount = 48; }), bitCount},
        {"16 bits in a core header", with([](BitmapBuilder& b) { b.headerBytes = 12, b.bitCount = 16; }), bitCount},
        {"mask with a gap", with([](BitmapBuilder& b) {
             b.bitCount = 16, b.compression = 3, b.masks = {0xF00F, 0x0F0, 0};
         }),
         badMasks},
        {"mask wider than the pixel", with([](BitmapBuilder& b) {
             b.bitCount = 16, b.compression = 3, b.masks = {0x1F0000, 0x7E0, 0x1F};
         }),
         badMasks},
        {"masks cut short", with([](BitmapBuilder& b) {
                                b.bitCount = 16, b.compression = 3, b.masks = {0xF800, 0x7E0, 0x1F};
                            }).substr(0, 60),
         incomplete},
        {"width 0", with([](BitmapBuilder& b) { b.width = 0; }), badSize},
        {"negative width", with([](BitmapBuilder& b) { b.width = -2; }), badSize},
        {"height 0", with([](BitmapBuilder& b) { b.height = 0; }), badSize},
        {"height INT32_MIN", with([](BitmapBuilder& b) { b.height = INT32_MIN; }), tooLarge},
        {"2^31 pixels", with([](BitmapBuilder& b) { b.width = 65536, b.height = 32768; }), tooLarge},
        {"width past the limit", with([](BitmapBuilder& b) { b.width = kMaxBitmapSide + 1, b.height = 1; }), tooLarge},
        {"top-down height past the limit", with([](BitmapBuilder& b) { b.height = -kMaxBitmapSide - 1; }), tooLarge},
        {"row bytes past 32 bits", with([](BitmapBuilder& b) { b.width = INT32_MAX, b.bitCount = 32; }), tooLarge},
        {"largest picture, no pixels",
         with([](BitmapBuilder& b) { b.width = kMaxBitmapSide, b.height = kMaxBitmapSide, b.bitCount = 32; }),
         incomplete},
        {"colour table past the end", with([](BitmapBuilder& b) {
             b.bitCount = 8, b.rows = {}, b.table = {1, 2, 3};
         }),
         incomplete},
        {"colour table of 2^32 - 1 entries cut short", with([](BitmapBuilder& b) {
             b.bitCount = 8, b.coloursUsed = 0xFFFFFFFF, b.table = {1, 2}, b.rows = {};
         }),
         incomplete},
        {"pixel offset past the end", WithField32(goodFile, 10, 0x7FFFFFF0), incomplete},
        {"pixel offset 2^32 - 1", WithField32(goodFile, 10, 0xFFFFFFFF), incomplete},
        {"pixel offset inside the headers", with([](BitmapBuilder& b) { b.pixelOffset = 20; }), badOffset},
        {"pixel offset 0", with([](BitmapBuilder& b) { b.pixelOffset = 0; }), badOffset},
        {"pixel offset inside the colour table", with([](BitmapBuilder& b) {
             b.bitCount = 8, b.coloursUsed = 4, b.table = {1, 2, 3, 4}, b.pixelOffset = 54 + 8;
         }),
         badOffset},
        {"pixel offset inside the masks", with([](BitmapBuilder& b) {
             b.bitCount = 16, b.compression = 3, b.masks = {0xF800, 0x7E0, 0x1F}, b.pixelOffset = 58;
         }),
         badOffset},
        {"pixel offset inside the alpha mask", with([](BitmapBuilder& b) {
             b.bitCount = 32, b.compression = 6, b.masks = {0xFF, 0xFF00, 0xFF0000, 0}, b.pixelOffset = 66;
         }),
         badOffset},
        {"no pixel data", pixelless, incomplete},
        {"last row one byte short", goodFile.substr(0, goodFile.size() - 3), incomplete},
        {"first of two rows only", goodFile.substr(0, 54 + 8), incomplete},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DecodedBitmap decoded = DecodeBitmap(c.file);
        EXPECT_FALSE(decoded.picture);
        EXPECT_EQ(decoded.error, c.error);
    }
}

namespace {

// A colour table of n different colours.
std::vector<std::int32_t> Ramp(int n) {
    std::vector<std::int32_t> table(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) table[i] = i * 0x030507 + 0x100000;
    return table;
}

// A file's bytes without the 14-byte file header: the packed bitmap the clipboard holds.
std::string Packed(const std::string& file) { return file.substr(14); }

std::vector<std::vector<std::int32_t>> ReadPacked(const std::string& packed) {
    const DecodedBitmap decoded = DecodePackedBitmap(packed);
    EXPECT_TRUE(decoded.picture) << decoded.error;
    EXPECT_EQ(decoded.error, "");
    return decoded.picture ? Rows(*decoded.picture) : std::vector<std::vector<std::int32_t>>{};
}

}  // namespace

TEST(PackedBitmap, EncodedIsTheFileWithoutItsFileHeaderAndReadsBack) {
    for (int width : {1, 3, 6}) {
        SCOPED_TRACE(width);
        const Surface picture = Varied(width, 3);
        const std::string packed = EncodePackedBitmap(picture);
        EXPECT_EQ(packed, Packed(EncodeBitmap(picture)));
        EXPECT_EQ(ReadPacked(packed), Rows(picture));
    }
}

TEST(PackedBitmap, PixelsFollowTheHeaderMasksAndColourTableOfEveryVariant) {
    // Each file's pixels start right after its colour table, so the packed bitmap must read
    // as the file does; rows of distinct bytes show any shift of the start.
    const std::vector<Bytes> rows16 = {{0x1F, 0x00, 0x00, 0xF8}, {0xE0, 0x07, 0x34, 0x12}};
    const std::vector<std::pair<const char*, BitmapBuilder>> variants = {
        {"1 bit, full table",
         {.width = 3, .height = 2, .bitCount = 1, .table = {0x0000FF, 0xFF0000}, .rows = {{0b10100000}, {0b01000000}}}},
        {"4 bits, full table", {.width = 2, .bitCount = 4, .table = Ramp(16), .rows = {{0x3C}}}},
        {"8 bits, full table", {.width = 2, .bitCount = 8, .table = Ramp(256), .rows = {{7, 200}}}},
        {"8 bits, 3 colours used",
         {.width = 3, .bitCount = 8, .coloursUsed = 3, .table = {0x0000FF, 0x00FF00, 0xFF0000}, .rows = {{2, 0, 1}}}},
        {"8 bits, 300 colours used",
         {.width = 2, .bitCount = 8, .coloursUsed = 300, .table = Ramp(300), .rows = {{255, 9}}}},
        {"24 bits with a table of 2 for palette displays",
         {.width = 2, .bitCount = 24, .coloursUsed = 2, .table = {0x111111, 0x222222}, .rows = {{1, 2, 3, 4, 5, 6}}}},
        {"32 bits with a table of 1",
         {.width = 1, .bitCount = 32, .coloursUsed = 1, .table = {0x333333}, .rows = {{9, 8, 7, 6}}}},
        {"16 bits 5-5-5", {.width = 2, .height = 2, .bitCount = 16, .rows = rows16}},
        {"16 bits, three masks after the header",
         {.width = 2,
          .height = 2,
          .bitCount = 16,
          .compression = 3,
          .masks = {0xF800, 0x07E0, 0x001F},
          .rows = rows16}},
        {"16 bits, four masks after the header",
         {.width = 2,
          .height = 2,
          .bitCount = 16,
          .compression = 6,
          .masks = {0x0F00, 0x00F0, 0x000F, 0xF000},
          .rows = rows16}},
        {"32 bits, masks and a table of 2 after the header",
         {.width = 1,
          .bitCount = 32,
          .compression = 3,
          .coloursUsed = 2,
          .masks = {0xFF, 0xFF00, 0xFF0000},
          .table = {0x010101, 0x020202},
          .rows = {{0x10, 0x20, 0x30, 0x40}}}},
        {"top-down 24 bits", {.width = 1, .height = -3, .rows = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}}},
        {"core header, 1 bit, 3-byte table",
         {.headerBytes = 12, .width = 2, .bitCount = 1, .table = {0x0000FF, 0xFF0000}, .rows = {{0b01000000}}}},
        {"core header, 8 bits", {.headerBytes = 12, .width = 2, .bitCount = 8, .table = Ramp(256), .rows = {{0, 255}}}},
        {"core header, 24 bits", {.headerBytes = 12, .width = 1, .height = 2, .rows = {{1, 2, 3}, {4, 5, 6}}}},
    };
    std::vector<BitmapBuilder> longerHeaders;
    for (std::uint32_t header : {52u, 56u, 108u, 124u}) {
        longerHeaders.push_back({.headerBytes = header,
                                 .width = 2,
                                 .height = 2,
                                 .bitCount = 16,
                                 .compression = 3,
                                 .masks = {0xF800, 0x07E0, 0x001F},
                                 .rows = rows16});
        longerHeaders.push_back({.headerBytes = header,
                                 .width = 2,
                                 .bitCount = 8,
                                 .coloursUsed = 2,
                                 .table = {0x0000FF, 0x00FF00},
                                 .rows = {{1, 0}}});
    }
    auto check = [](const std::string& what, const BitmapBuilder& builder) {
        SCOPED_TRACE(what);
        const std::string file = builder.Build();
        const std::vector<std::vector<std::int32_t>> expected = Read(file);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(ReadPacked(Packed(file)), expected);
        // A clipboard's memory block may be rounded up: bytes past the pixels are not read.
        EXPECT_EQ(ReadPacked(Packed(file) + std::string(13, '\xA5')), expected);
    };
    for (const auto& [what, builder] : variants) check(what, builder);
    for (const BitmapBuilder& builder : longerHeaders)
        check("header of " + std::to_string(builder.headerBytes) + " bytes at " + std::to_string(builder.bitCount) +
                  " bits",
              builder);
}

TEST(PackedBitmap, V5ProfilePlacedBeforeThePixelsIsSkipped) {
    // A 124-byte header, 24 bits, two rows of one pixel: 8 bytes of pixels from byte 124.
    const BitmapBuilder v5{.headerBytes = 124, .width = 1, .height = 2, .rows = {{1, 2, 3}, {4, 5, 6}}};
    const std::string packed = Packed(v5.Build());
    const std::vector<std::vector<std::int32_t>> pixels = {{0x040506}, {0x010203}};
    const std::string profile = "ICC profile bytes";  // 17
    const auto withProfile = [&](std::uint32_t colourSpace, std::uint32_t at) {
        std::string dib = WithField32(WithField32(WithField32(packed, 56, colourSpace), 112, at), 116,
                                      static_cast<std::uint32_t>(profile.size()));
        return dib.insert(at, profile);
    };
    const std::uint32_t embedded = 0x4D424544, linked = 0x4C494E4B, sRgb = 0x73524742;

    // Where it belongs, after the pixels; or straight after the header, before them.
    EXPECT_EQ(ReadPacked(withProfile(embedded, 124 + 8)), pixels);
    EXPECT_EQ(ReadPacked(withProfile(embedded, 124)), pixels);
    EXPECT_EQ(ReadPacked(withProfile(linked, 124)), pixels);
    // Without a profile in its colour space, the bytes after the header are the pixels:
    // "ICC " is the bottom row, "pro" the top one (blue, green, red).
    EXPECT_EQ(ReadPacked(withProfile(sRgb, 124)),
              (std::vector<std::vector<std::int32_t>>{{Colour('o', 'r', 'p')}, {Colour('C', 'C', 'I')}}));

    // After a colour table the profile's offset counts the table too.
    BitmapBuilder indexed{.headerBytes = 124,
                          .width = 2,
                          .bitCount = 8,
                          .coloursUsed = 2,
                          .table = {0x0000FF, 0x00FF00},
                          .rows = {{1, 0}}};
    std::string dib = Packed(indexed.Build());
    dib = WithField32(WithField32(WithField32(dib, 56, embedded), 112, 124 + 8), 116, 5);
    dib.insert(124 + 8, "\xFF\xFF\xFF\xFF\xFF");
    EXPECT_EQ(ReadPacked(dib), (std::vector<std::vector<std::int32_t>>{{0x00FF00, 0x0000FF}}));
}

TEST(PackedBitmap, BrokenBlocksAreRefusedWithTheReason) {
    const std::string incomplete = "文件不完整";
    const BitmapBuilder good{.width = 2, .height = 2, .rows = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}}};
    const std::string packed = Packed(good.Build());
    const auto with = [&](auto change) {
        BitmapBuilder b = good;
        change(b);
        return Packed(b.Build());
    };
    // A 1 x 1 picture after a V5 header that puts a profile of the given size where its
    // pixels would be.
    const auto v5ProfileOf = [](std::uint32_t size) {
        const std::string dib = Packed(BitmapBuilder{.headerBytes = 124, .rows = {{1, 2, 3}}}.Build());
        return WithField32(WithField32(WithField32(dib, 56, 0x4D424544), 112, 124), 116, size);
    };
    struct Case {
        const char* what;
        std::string dib;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"empty", "", "文件是空的"},
        {"three bytes", std::string("\x28\x00\x00", 3), incomplete},
        {"a bitmap file", good.Build(), "无法识别的位图信息头"},
        {"header size past the end", packed.substr(0, 39), incomplete},
        {"header size 2^32 - 1", WithField32(packed, 0, 0xFFFFFFFF), "无法识别的位图信息头"},
        {"colour count huge",
         WithField32(with([](BitmapBuilder& b) {
                         b.bitCount = 8, b.table = {1, 2};
                     }),
                     32, 0x40000000),
         incomplete},
        {"colour count huge above 8 bits", WithField32(packed, 32, 0xFFFFFFFF), incomplete},
        {"colour table cut short", with([](BitmapBuilder& b) {
             b.bitCount = 8, b.table = {1, 2, 3}, b.rows = {};
         }),
         incomplete},
        {"masks missing", with([](BitmapBuilder& b) { b.bitCount = 16, b.compression = 3, b.rows = {}; }), incomplete},
        {"masks but no pixels", with([](BitmapBuilder& b) {
             b.bitCount = 16, b.compression = 3, b.masks = {0xF800, 0x7E0, 0x1F}, b.rows = {};
         }),
         incomplete},
        {"zero width", with([](BitmapBuilder& b) { b.width = 0; }), "图像的宽度或高度无效"},
        {"height INT32_MIN", with([](BitmapBuilder& b) { b.height = INT32_MIN; }), "图像太大"},
        {"last row one byte short", packed.substr(0, packed.size() - 3), incomplete},
        {"V5 profile before the pixels past the end", v5ProfileOf(0xFFFFFFFF), incomplete},
        {"V5 profile before the pixels, leaving no room for them", v5ProfileOf(4), incomplete},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DecodedBitmap decoded = DecodePackedBitmap(c.dib);
        EXPECT_FALSE(decoded.picture);
        EXPECT_EQ(decoded.error, c.error);
    }
}
