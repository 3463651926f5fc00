// SPDX-License-Identifier: MIT
#include "backends/portal/png_area.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace pelmora {

namespace {
// The bytes libpng has not read yet, and why it stopped when it did.
struct PngInput {
    std::span<const unsigned char> bytes;
    std::string failure;
};

void ReadInput(png_structp png, png_bytep data, png_size_t length) {
    auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
    if (length > input->bytes.size()) png_error(png, "the picture ends early");
    std::memcpy(data, input->bytes.data(), length);
    input->bytes = input->bytes.subspan(length);
}

void StopOnError(png_structp png, png_const_charp message) {
    static_cast<PngInput*>(png_get_error_ptr(png))->failure = message;
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// libpng's read state, destroyed on every way out.
class PngReader {
public:
    explicit PngReader(PngInput& input)
        : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, &input, StopOnError, IgnoreWarning)),
          info_(png_ ? png_create_info_struct(png_) : nullptr) {
        if (png_) png_set_read_fn(png_, &input, ReadInput);
    }
    ~PngReader() { png_destroy_read_struct(&png_, &info_, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    bool Made() const { return png_ && info_; }
    png_structp Png() const { return png_; }
    png_infop Info() const { return info_; }

private:
    png_structp png_;
    png_infop info_;
};

// Every colour type turned into rows of 8-bit red, green and blue, and alpha where the picture
// has it: the common screenshot (8-bit RGB or RGBA) is read with no transformation at all, so
// that rows above an area cost only their unfiltering. Returns the bytes per pixel (3 or 4)
// and libpng's number of passes (more than one for an interlaced picture).
std::pair<int, int> AskForColourRows(png_structp png, png_infop info) {
    png_set_expand(png);  // palette and grey to 8 bits, transparency to alpha
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return {png_get_channels(png, info), passes};
}

// Copies the columns [left, right) of a decoded row into a Surface row, as 0x00BBGGRR.
void CopyColumns(const unsigned char* row, int bytesPerPixel, int left, int right, std::int32_t* target) {
    const unsigned char* pixel = row + static_cast<std::ptrdiff_t>(left) * bytesPerPixel;
    for (int x = left; x < right; ++x, pixel += bytesPerPixel)
        *target++ = static_cast<std::int32_t>(pixel[0] | pixel[1] << 8 | pixel[2] << 16);
}

// Where the area's rows go: rows [area.top, area.top + area.height) of the picture, the
// columns [left, right) of each to target from (targetLeft, targetTop - area.top + row).
struct AreaCopy {
    ScreenRegion area;
    int left = 0, right = 0;
    Surface* target = nullptr;
    ScreenPoint at;

    void Row(const unsigned char* row, int bytesPerPixel, int y) const {
        const int targetY = at.y + y - area.top;
        if (right <= left || targetY < 0 || targetY >= target->Height()) return;
        CopyColumns(row, bytesPerPixel, left, right, target->Row(targetY) + (at.x + left - area.left));
    }
};

// The decoding itself, apart from any object with a destructor: libpng leaves it by
// longjmp on an error. scratch holds one row, or for an interlaced picture every row, which
// rows points into.
bool DecodeRows(png_structp png, png_infop info, const AreaCopy& copy, unsigned char* scratch, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
    png_read_info(png, info);
    const auto [bytesPerPixel, passes] = AskForColourRows(png, info);
    const int lastRow = copy.area.top + copy.area.height;
    if (passes > 1) {
        png_read_image(png, rows);  // every pass fills in every row
        for (int y = copy.area.top; y < lastRow; ++y) copy.Row(rows[y], bytesPerPixel, y);
        return true;
    }
    for (int y = 0; y < lastRow; ++y) {
        png_read_row(png, scratch, nullptr);
        if (y >= copy.area.top) copy.Row(scratch, bytesPerPixel, y);
    }
    return true;
}
}  // namespace

std::optional<PngHeader> ReadPngHeader(std::span<const unsigned char> png) {
    PngInput input{png, {}};
    PngReader reader(input);
    if (!reader.Made()) return std::nullopt;
    if (setjmp(png_jmpbuf(reader.Png()))) return std::nullopt;
    png_read_info(reader.Png(), reader.Info());
    return PngHeader{{static_cast<std::int32_t>(png_get_image_width(reader.Png(), reader.Info())),
                      static_cast<std::int32_t>(png_get_image_height(reader.Png(), reader.Info()))},
                     png_get_interlace_type(reader.Png(), reader.Info()) != PNG_INTERLACE_NONE};
}

std::string ReadPngArea(std::span<const unsigned char> png, ScreenRegion area, Surface& target, ScreenPoint at) {
    const std::optional<PngHeader> header = ReadPngHeader(png);
    if (!header) return "not a PNG picture";
    // Room for a row of 8-bit RGBA, the widest AskForColourRows gives; every row for an
    // interlaced picture.
    const std::size_t rowBytes = static_cast<std::size_t>(header->size.width) * 4;
    const std::size_t rowCount = header->interlaced ? static_cast<std::size_t>(header->size.height) : 1;
    std::vector<unsigned char> scratch(rowBytes * rowCount);
    std::vector<png_bytep> rows(rowCount);
    for (std::size_t i = 0; i < rowCount; ++i) rows[i] = scratch.data() + i * rowBytes;
    const AreaCopy copy{area, std::max(area.left, area.left - at.x),
                        std::min(area.left + area.width, area.left + target.Width() - at.x), &target, at};

    PngInput input{png, {}};
    PngReader reader(input);
    if (!reader.Made()) return "libpng could not start";
    if (!DecodeRows(reader.Png(), reader.Info(), copy, scratch.data(), rows.data())) return input.failure;
    return {};
}

}  // namespace pelmora
