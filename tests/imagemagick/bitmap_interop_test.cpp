// SPDX-License-Identifier: MIT
// The bitmap codec against another program's: ImageMagick's convert reads the files we
// write with the same pixels, and we read the bitmaps it writes (24-bit with the 40 and
// 124-byte headers, palettes of 1, 4 and 8 bits, 16 and 32-bit bit fields) with the same
// pixels. Runs convert in a temporary folder; skipped when convert is not installed.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "capture/bitmap_file.h"

using namespace pelmora;
namespace fs = std::filesystem;

namespace {

using Pixels = std::vector<std::vector<std::int32_t>>;

Pixels Rows(const Surface& picture) {
    Pixels rows;
    for (int y = 0; y < picture.Height(); ++y) rows.emplace_back(picture.Row(y), picture.Row(y) + picture.Width());
    return rows;
}

// "" when the pictures have the same size and every channel differs by at most tolerance;
// otherwise how many pixels differ and the first of them, in a line (whole pictures
// printed would drown the report).
std::string Differences(const Pixels& ours, const Pixels& theirs, int tolerance = 0) {
    if (ours.size() != theirs.size() || (!ours.empty() && ours[0].size() != theirs[0].size()))
        return "the sizes differ";
    int count = 0;
    std::string first;
    for (std::size_t y = 0; y < ours.size(); ++y)
        for (std::size_t x = 0; x < ours[y].size(); ++x) {
            bool close = true;
            for (int shift : {0, 8, 16})
                close = close && std::abs((ours[y][x] >> shift & 0xFF) - (theirs[y][x] >> shift & 0xFF)) <= tolerance;
            if (close) continue;
            if (count++ == 0) {
                std::ostringstream at;
                at << std::hex << "first at (" << std::dec << x << ", " << y << "): ours 0x" << std::hex << ours[y][x]
                   << ", theirs 0x" << theirs[y][x];
                first = at.str();
            }
        }
    return count ? std::to_string(count) + " pixels differ; " + first : "";
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// A binary PPM (P6) of the picture, 8 bits a channel.
std::string Ppm(const Surface& picture) {
    std::string file = "P6\n" + std::to_string(picture.Width()) + " " + std::to_string(picture.Height()) + "\n255\n";
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const std::int32_t colour = picture.Pixel(x, y);
            file += static_cast<char>(colour & 0xFF);
            file += static_cast<char>(colour >> 8 & 0xFF);
            file += static_cast<char>(colour >> 16 & 0xFF);
        }
    return file;
}

// The pixels of a binary PPM with 8-bit channels, as colour values; empty when it is not one.
Pixels ParsePpm(const std::string& file) {
    std::istringstream in(file);
    std::string magic;
    int width = 0, height = 0, largest = 0;
    in >> magic >> width >> height >> largest;
    in.get();  // the one whitespace byte before the pixels
    if (magic != "P6" || largest != 255 || width <= 0 || height <= 0) return {};
    Pixels rows(height, std::vector<std::int32_t>(width));
    for (auto& row : rows)
        for (std::int32_t& colour : row) {
            unsigned char rgb[3] = {};
            if (!in.read(reinterpret_cast<char*>(rgb), 3)) return {};
            colour = rgb[0] | rgb[1] << 8 | rgb[2] << 16;
        }
    return rows;
}

std::uint32_t Field(const std::string& file, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(file.at(at + i));
    return value;
}

// A picture of the given size drawing its pixels from a palette of `colours` random colours
// (all colours random when colours is 0).
Surface Picture(int width, int height, int colours, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::int32_t> palette(colours);
    for (std::int32_t& colour : palette) colour = static_cast<std::int32_t>(random() & 0xFFFFFF);
    Surface picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.SetPixel(
                x, y, colours ? palette[(x + y * width) % colours] : static_cast<std::int32_t>(random() & 0xFFFFFF));
    return picture;
}

class BitmapInterop : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("convert -version >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "ImageMagick's convert is not installed";
        folder_ = fs::temp_directory_path() / ("pelmora-bitmap-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        if (!folder_.empty()) fs::remove_all(folder_, ignored);
    }

    // Runs convert with the arguments (paths are relative to the folder); true when it succeeded.
    bool Convert(const std::string& arguments) {
        const std::string command = "cd '" + folder_.string() + "' && convert " + arguments + " 2>&1";
        return std::system(command.c_str()) == 0;
    }
    // How convert itself reads a file: its pixels after conversion to PPM.
    Pixels ConvertRead(const std::string& name) {
        if (!Convert("'" + name + "' -depth 8 ppm:read.ppm")) return {};
        return ParsePpm(ReadFile(folder_ / "read.ppm"));
    }

    fs::path folder_;
};

}  // namespace

TEST_F(BitmapInterop, ConvertReadsOurFilesWithTheSamePixels) {
    for (const auto& [width, height] : {std::pair{1, 1}, {3, 2}, {5, 3}, {64, 17}, {4097, 2}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const Surface picture = Picture(width, height, 0, width * 31 + height);
        WriteFile(folder_ / "ours.bmp", EncodeBitmap(picture));
        EXPECT_EQ(Differences(Rows(picture), ConvertRead("ours.bmp")), "");
    }
}

TEST_F(BitmapInterop, WeReadConvertsBitmapsWithTheSamePixels) {
    struct Variant {
        const char* what;
        std::string options;  // before the output name
        int colours;          // in the source picture; 0 for all different
        std::uint32_t headerBytes;
        std::uint32_t bitCount;
        std::uint32_t compression;
    };
    const std::vector<Variant> variants = {
        {"BMP3", "BMP3:", 0, 40, 24, 0},
        {"BMP (V5 header)", "BMP:", 0, 124, 24, 0},
        {"8-bit palette", "-type Palette -compress none BMP3:", 200, 40, 8, 0},
        {"4-bit palette", "-type Palette BMP3:", 11, 40, 4, 0},
        {"1-bit palette", "-type Palette BMP3:", 2, 40, 1, 0},
        {"8-bit palette, V5 header", "-type Palette -compress none BMP:", 100, 124, 8, 0},
        {"32-bit bit fields with alpha", "-alpha set BMP:", 0, 124, 32, 3},
    };
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.what);
        const Surface picture = Picture(37, 13, v.colours, v.colours + 7);
        WriteFile(folder_ / "source.ppm", Ppm(picture));
        ASSERT_TRUE(Convert("source.ppm " + v.options + "theirs.bmp"));
        const std::string file = ReadFile(folder_ / "theirs.bmp");
        // The file is the variant it is meant to be.
        ASSERT_GE(file.size(), 54u);
        EXPECT_EQ(Field(file, 14, 4), v.headerBytes);
        EXPECT_EQ(Field(file, 28, 2), v.bitCount);
        EXPECT_EQ(Field(file, 30, 4), v.compression);
        const DecodedBitmap decoded = DecodeBitmap(file);
        ASSERT_TRUE(decoded.picture) << decoded.error;
        EXPECT_EQ(Differences(Rows(*decoded.picture), Rows(picture)), "");
    }
}

TEST_F(BitmapInterop, ConvertsRunLengthEncodedPaletteIsRefused) {
    // convert compresses 8-bit palettes by default (RLE8), which we do not read.
    WriteFile(folder_ / "source.ppm", Ppm(Picture(37, 13, 200, 1)));
    ASSERT_TRUE(Convert("source.ppm -type Palette BMP3:theirs.bmp"));
    const std::string file = ReadFile(folder_ / "theirs.bmp");
    ASSERT_GE(file.size(), 54u);
    ASSERT_EQ(Field(file, 30, 4), 1u);
    const DecodedBitmap decoded = DecodeBitmap(file);
    EXPECT_FALSE(decoded.picture);
    EXPECT_EQ(decoded.error, "不支持压缩的位图（RLE）");
}

TEST_F(BitmapInterop, SixteenBitBitFieldsReadAsConvertReadsThem) {
    // Both readers widen the 5 and 6-bit channels to 8 bits: we scale (value * 255 / largest,
    // rounded), convert repeats the top bits below the value; the two differ by at most 1.
    // (convert's 4-bit and 1-5-5-5 variants are not compared: it widens 4 bits by shifting
    // alone, and writes a red mask that overlaps the alpha bit.)
    for (const std::string subtype : {"RGB565", "RGB555"}) {
        SCOPED_TRACE(subtype);
        const Surface picture = Picture(29, 11, 0, 99);
        WriteFile(folder_ / "source.ppm", Ppm(picture));
        ASSERT_TRUE(Convert("source.ppm -define bmp:subtype=" + subtype + " BMP:theirs.bmp"));
        const std::string file = ReadFile(folder_ / "theirs.bmp");
        ASSERT_GE(file.size(), 54u);
        EXPECT_EQ(Field(file, 28, 2), 16u);
        EXPECT_EQ(Field(file, 30, 4), 3u);
        const DecodedBitmap decoded = DecodeBitmap(file);
        ASSERT_TRUE(decoded.picture) << decoded.error;
        const Pixels theirs = ConvertRead("theirs.bmp");
        ASSERT_FALSE(theirs.empty());
        EXPECT_EQ(Differences(Rows(*decoded.picture), theirs, 1), "");
    }
}
