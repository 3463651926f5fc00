// SPDX-License-Identifier: MIT
// Areas of PNG screenshots read row by row: every colour type a portal may write, areas
// anywhere in the picture and partly outside the target, and a broken file.
#include <gtest/gtest.h>
#include <png.h>

#include <span>
#include <vector>

#include "backends/portal/png_area.h"

namespace pelmora {
namespace {

// The colour value every test picture has at (x, y).
std::int32_t ColourAt(int x, int y) { return (x * 7 & 0xFF) | (y * 13 & 0xFF) << 8 | ((x + y) & 0xFF) << 16; }

// A width x height PNG of ColourAt in the given libpng format, interlaced or not, written
// with libpng's own encoder.
std::vector<unsigned char> Png(int width, int height, png_uint_32 format, bool interlaced = false) {
    const int channels = static_cast<int>(PNG_IMAGE_SAMPLE_CHANNELS(format));
    std::vector<unsigned char> pixels;
    pixels.reserve(static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::int32_t colour = ColourAt(x, y);
            if (channels < 3) {
                pixels.push_back(static_cast<unsigned char>(colour & 0xFF));
            } else {
                for (int shift : {0, 8, 16}) pixels.push_back(static_cast<unsigned char>(colour >> shift & 0xFF));
            }
            if (channels % 2 == 0) pixels.push_back(0xFF);
        }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = format;
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr));
    std::vector<unsigned char> png(size);
    EXPECT_TRUE(png_image_write_to_memory(&image, png.data(), &size, 0, pixels.data(), 0, nullptr));
    png.resize(size);
    if (interlaced) {
        // The simplified writer has no interlacing: the same rows through the full API.
        png.clear();
        png_structp write = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(write);
        png_set_write_fn(
            write, &png,
            [](png_structp w, png_bytep data, png_size_t length) {
                auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(w));
                out->insert(out->end(), data, data + length);
            },
            nullptr);
        png_set_IHDR(write, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_ADAM7,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        std::vector<png_bytep> rows;
        rows.reserve(static_cast<std::size_t>(height));
        for (int y = 0; y < height; ++y) rows.push_back(pixels.data() + static_cast<std::size_t>(y) * width * 3);
        png_set_rows(write, info, rows.data());
        png_write_png(write, info, PNG_TRANSFORM_IDENTITY, nullptr);
        png_destroy_write_struct(&write, &info);
    }
    return png;
}

// Whether target holds the picture's area at `at`, and fill everywhere else.
void ExpectArea(const Surface& target, ScreenRegion area, ScreenPoint at, std::int32_t fill) {
    for (int y = 0; y < target.Height(); ++y)
        for (int x = 0; x < target.Width(); ++x) {
            const int px = x - at.x + area.left;
            const int py = y - at.y + area.top;
            const bool inside =
                px >= area.left && py >= area.top && px < area.left + area.width && py < area.top + area.height;
            ASSERT_EQ(target.Pixel(x, y), inside ? ColourAt(px, py) : fill) << x << "," << y;
        }
}

TEST(PngAreaTest, EveryColourTypeAndInterlacingGiveTheSameColours) {
    const ScreenRegion area{5, 9, 20, 7};
    for (const auto& [format, interlaced] :
         {std::pair{PNG_FORMAT_RGB, false}, {PNG_FORMAT_RGBA, false}, {PNG_FORMAT_RGB, true}}) {
        const std::vector<unsigned char> png = Png(40, 30, format, interlaced);
        const auto header = ReadPngHeader(png);
        ASSERT_TRUE(header);
        EXPECT_EQ(header->size.width, 40);
        EXPECT_EQ(header->size.height, 30);
        EXPECT_EQ(header->interlaced, interlaced);
        Surface target(20, 7, -1);
        EXPECT_EQ(ReadPngArea(png, area, target, {0, 0}), "");
        ExpectArea(target, area, {0, 0}, -1);
    }
    // Grey with alpha: each grey level becomes the same red, green and blue.
    const std::vector<unsigned char> grey = Png(8, 8, PNG_FORMAT_GA);
    Surface target(8, 8, -1);
    EXPECT_EQ(ReadPngArea(grey, {0, 0, 8, 8}, target, {0, 0}), "");
    EXPECT_EQ(target.Pixel(3, 2), (ColourAt(3, 2) & 0xFF) * 0x010101);
}

TEST(PngAreaTest, WholeRowsAndAreasPartlyOutsideTheTargetLandWhereTheyBelong) {
    const std::vector<unsigned char> png = Png(64, 48, PNG_FORMAT_RGB);
    Surface whole(64, 60, 0x123456);  // whole rows decoded straight into the target
    EXPECT_EQ(ReadPngArea(png, {0, 10, 64, 38}, whole, {0, 22}), "");
    ExpectArea(whole, {0, 10, 64, 38}, {0, 22}, 0x123456);
    Surface clipped(10, 10, 0x123456);  // the area reaches past every side of the target
    EXPECT_EQ(ReadPngArea(png, {30, 20, 16, 16}, clipped, {-3, -4}), "");
    ExpectArea(clipped, {30, 20, 16, 16}, {-3, -4}, 0x123456);
}

TEST(PngAreaTest, ABrokenPictureIsAReasonNeverACrash) {
    std::vector<unsigned char> png = Png(64, 48, PNG_FORMAT_RGB);
    Surface target(64, 48, 0);
    const std::vector<unsigned char> cut(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(png.size() / 2));
    EXPECT_NE(ReadPngArea(cut, {0, 40, 64, 8}, target, {0, 0}), "");
    EXPECT_FALSE(ReadPngHeader(std::span(png).first(20)));
    png[png.size() / 2] ^= 0xFF;  // a damaged compressed stream
    EXPECT_NE(ReadPngArea(png, {0, 0, 64, 48}, target, {0, 0}), "");
}

}  // namespace
}  // namespace pelmora
